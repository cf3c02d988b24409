#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace sekreta::platform {
namespace {

TEST(TextEncoding, Windows1252FormOfPhrasesTypedHere)
{
    EXPECT_EQ(Windows1252Form("Grüße €"),
        "Gr\xFC\xDF"
        "e \x80");
    EXPECT_EQ(Windows1252Form("„Œ“ ™ ÿ"), "\x84\x8C\x93 \x99 \xFF");
    EXPECT_EQ(Windows1252Form("plain ascii"), std::nullopt) << "nothing to try beyond the phrase itself";
    EXPECT_EQ(Windows1252Form("Ω"), std::nullopt) << "not in Windows-1252";
    EXPECT_EQ(Windows1252Form("\xC2\x81"), std::nullopt) << "a byte Windows-1252 leaves undefined";
    EXPECT_EQ(Windows1252Form("\xFC"), std::nullopt) << "not UTF-8";
}

}  // namespace
}  // namespace sekreta::platform
