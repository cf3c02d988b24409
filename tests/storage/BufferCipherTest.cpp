#include "storage/BufferCipher.h"

#include "storage/CCrc32.h"
#include "storage/CRc5Encryptor.h"

#include "support/RandomBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta {
namespace {

using Part = std::array<std::uint8_t, 4>;
using Key = std::array<std::uint8_t, 16>;

Part KeyPart(const Key& key, std::size_t index)
{
    return {key[4 * index], key[4 * index + 1], key[4 * index + 2], key[4 * index + 3]};
}

Part Crc32Of(std::string_view text)
{
    CCrc32 crc;
    Part digest {};
    crc.Digest(digest.data(), reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return digest;
}

using test::RandomBytes;

struct Rotations {
    std::string_view phrase;
    std::array<std::string_view, 4> rotated;
};

void PrintTo(const Rotations& rotations, std::ostream* out)
{
    *out << '"' << rotations.phrase << '"';
}

class DeriveKeyPartTest : public testing::TestWithParam<Rotations> { };

TEST_P(DeriveKeyPartTest, EachPartIsTheCrcOfTheRotatedPhrase)
{
    const Key key = DeriveKey(GetParam().phrase);
    for (std::size_t part = 0; part < 4; ++part) {
        EXPECT_EQ(KeyPart(key, part), Crc32Of(GetParam().rotated[part])) << "part " << part;
    }
}

INSTANTIATE_TEST_SUITE_P(DeriveKey, DeriveKeyPartTest,
    testing::Values(Rotations {"x", {"x", "x", "x", "x"}}, Rotations {"ab", {"ab", "ba", "ab", "ba"}},
        Rotations {"abc", {"abc", "bca", "cab", "abc"}}, Rotations {"secret", {"secret", "ecrets", "cretse", "retsec"}},
        Rotations {"Pass phrase!", {"Pass phrase!", "ass phrase!P", "ss phrase!Pa", "s phrase!Pas"}}));

TEST(DeriveKeyTest, FirstPartIsTheCrcOfThePhraseLeastSignificantByteFirst)
{
    EXPECT_EQ(KeyPart(DeriveKey("123456789"), 0), (Part {0x26, 0x39, 0xF4, 0xCB}));
}

TEST(DeriveKeyTest, OneBytePhraseGivesFourEqualParts)
{
    const Key key = DeriveKey("q");
    EXPECT_EQ(KeyPart(key, 0), KeyPart(key, 1));
    EXPECT_EQ(KeyPart(key, 0), KeyPart(key, 2));
    EXPECT_EQ(KeyPart(key, 0), KeyPart(key, 3));
}

TEST(DeriveKeyTest, TwoBytePhraseRepeatsEveryOtherPart)
{
    const Key key = DeriveKey("ab");
    EXPECT_EQ(KeyPart(key, 0), KeyPart(key, 2));
    EXPECT_EQ(KeyPart(key, 1), KeyPart(key, 3));
    EXPECT_NE(KeyPart(key, 0), KeyPart(key, 1));
}

TEST(DeriveKeyTest, ThreeBytePhraseRepeatsTheFirstPartLast)
{
    const Key key = DeriveKey("abc");
    EXPECT_EQ(KeyPart(key, 0), KeyPart(key, 3));
    EXPECT_NE(KeyPart(key, 0), KeyPart(key, 1));
    EXPECT_NE(KeyPart(key, 0), KeyPart(key, 2));
    EXPECT_NE(KeyPart(key, 1), KeyPart(key, 2));
}

TEST(DeriveKeyTest, EmptyPhraseGivesAllZeroKey)
{
    EXPECT_EQ(DeriveKey(""), Key {});
}

TEST(DeriveKeyTest, SmallDifferencesChangeTheKey)
{
    const std::array<std::pair<std::string_view, std::string_view>, 5> pairs {{
        {"secret", "Secret"},
        {"my secret", "mysecret"},
        {"my secret", "my  secret"},
        {"secret!", "secret"},
        {"secret.", "secret,"},
    }};
    for (const auto& [first, second] : pairs) {
        EXPECT_NE(DeriveKey(first), DeriveKey(second)) << '"' << first << "\" vs \"" << second << '"';
    }
}

TEST(BufferCipherTest, RoundTripsRandomBuffers)
{
    for (const std::size_t size : {8U, 16U, 24U, 64U, 8000U, 65536U}) {
        const std::vector<std::uint8_t> plain = RandomBytes(size, static_cast<std::uint32_t>(size));
        std::vector<std::uint8_t> buffer = plain;
        EncryptBuffer("correct horse", buffer);
        EXPECT_NE(buffer, plain) << "size " << size;
        DecryptBuffer("correct horse", buffer);
        EXPECT_EQ(buffer, plain) << "size " << size;
    }
}

TEST(BufferCipherTest, EmptyBufferIsLeftAlone)
{
    std::vector<std::uint8_t> bytes {1, 2, 3, 4, 5, 6, 7, 8};
    EncryptBuffer("secret", std::span<std::uint8_t>(bytes.data(), 0));
    DecryptBuffer("secret", std::span<std::uint8_t>(bytes.data(), 0));
    EncryptBuffer("secret", std::span<std::uint8_t>());
    EXPECT_EQ(bytes, (std::vector<std::uint8_t> {1, 2, 3, 4, 5, 6, 7, 8}));
}

// The empty phrase derives the all-zero key, so the first RC5-32/12/16
// vector applies end to end.
TEST(BufferCipherTest, EmptyPhraseMatchesPublishedVector)
{
    std::vector<std::uint8_t> buffer(8, 0x00);
    EncryptBuffer("", buffer);
    EXPECT_EQ(buffer, (std::vector<std::uint8_t> {0x21, 0xA5, 0xDB, 0xEE, 0x15, 0x4B, 0x8F, 0x6D}));
    DecryptBuffer("", buffer);
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(8, 0x00));
}

TEST(BufferCipherTest, EachBlockIsOneRc5BlockUnderTheDerivedKey)
{
    const std::vector<std::uint8_t> plain = RandomBytes(32, 7);
    std::vector<std::uint8_t> buffer = plain;
    EncryptBuffer("pass phrase", buffer);

    const Key key = DeriveKey("pass phrase");
    CRc5Encryptor encryptor(key.data(), key.size(), 12);
    for (std::size_t offset = 0; offset < plain.size(); offset += 8) {
        std::array<std::uint8_t, 8> expected {};
        encryptor.TransformBlock(plain.data() + offset, expected.data());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffer.begin() + static_cast<std::ptrdiff_t>(offset)))
            << "block at " << offset;
    }
}

TEST(BufferCipherTest, EqualPlainBlocksGiveEqualCipherBlocks)
{
    std::vector<std::uint8_t> buffer {'s', 'a', 'm', 'e', 'b', 'l', 'o', 'k', 's', 'a', 'm', 'e', 'b', 'l', 'o', 'k'};
    EncryptBuffer("secret", buffer);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 8, buffer.begin() + 8));
    EXPECT_NE(buffer[0], 's');
}

TEST(BufferCipherTest, DifferentPhrasesGiveDifferentOutput)
{
    const std::vector<std::uint8_t> plain = RandomBytes(64, 11);
    std::vector<std::uint8_t> first = plain;
    std::vector<std::uint8_t> second = plain;
    EncryptBuffer("secret", first);
    EncryptBuffer("Secret", second);
    EXPECT_NE(first, second);

    // The wrong phrase does not restore the plain text.
    DecryptBuffer("Secret", first);
    EXPECT_NE(first, plain);
}

TEST(BufferCipherTest, PartialBlockThrowsAndLeavesBufferUnchanged)
{
    for (const std::size_t size : {1U, 7U, 9U, 15U, 17U, 1023U}) {
        const std::vector<std::uint8_t> original = RandomBytes(size, static_cast<std::uint32_t>(size));
        std::vector<std::uint8_t> buffer = original;
        for (const bool encrypt : {true, false}) {
            try {
                if (encrypt) {
                    EncryptBuffer("secret", buffer);
                } else {
                    DecryptBuffer("secret", buffer);
                }
                ADD_FAILURE() << "no exception for size " << size;
            } catch (const std::invalid_argument& error) {
                EXPECT_STREQ(error.what(), "buffer length must be a multiple of 8 bytes");
            }
            EXPECT_EQ(buffer, original) << "size " << size << (encrypt ? ", encrypt" : ", decrypt");
        }
    }
}

}  // namespace
}  // namespace sekreta
