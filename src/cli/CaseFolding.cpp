#include "cli/CaseFolding.h"

#include "platform/TextEncoding.h"

#include <cstdint>

namespace sekreta::cli {

namespace {

char32_t SmallLetter(char32_t c)
{
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    // Latin Extended-A pairs each capital with the small letter after it, with a few exceptions.
    if (c == 0x130)
        return U'i';
    if (c == 0x178)
        return 0xFF;
    if (((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) && c % 2 == 0)
        return c + 1;
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && c % 2 == 1)
        return c + 1;
    // Greek, with the accented capitals and the final sigma.
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 0x20;
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 0x25;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 0x3F;
    if (c == 0x3C2)
        return 0x3C3;
    // Cyrillic.
    if (c >= 0x410 && c <= 0x42F)
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

}  // namespace

std::string FoldCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (length > utf8.size() - i) {
            folded.append(utf8.substr(i));
            break;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<std::uint8_t>(utf8[i + k]) & 0x3F);
        platform::AppendUtf8(folded, SmallLetter(c));
        i += length;
    }
    return folded;
}

}  // namespace sekreta::cli
