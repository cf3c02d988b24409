#include "storage/CCrc32.h"

#include "support/RandomBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <random>
#include <string_view>
#include <vector>

namespace sekreta {
namespace {

using Digest = std::array<std::uint8_t, 4>;

const std::uint8_t* Bytes(std::string_view text)
{
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

// Bit at a time, no table: an independent check on the table and on the
// word-at-a-time path.
Digest ReferenceCrc32(const std::uint8_t* bytes, std::size_t length)
{
    std::uint32_t reg = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < length; ++i) {
        reg ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            reg = (reg >> 1) ^ ((reg & 1U) != 0 ? 0xEDB88320U : 0U);
        }
    }
    reg = ~reg;
    return {static_cast<std::uint8_t>(reg), static_cast<std::uint8_t>(reg >> 8), static_cast<std::uint8_t>(reg >> 16),
        static_cast<std::uint8_t>(reg >> 24)};
}

Digest Crc32Of(const std::uint8_t* bytes, std::size_t length)
{
    CCrc32 crc;
    Digest digest {};
    crc.Update(bytes, length);
    crc.Final(digest.data());
    return digest;
}

using test::RandomBytes;

struct KnownCrc {
    std::string_view text;
    Digest digest;
};

void PrintTo(const KnownCrc& known, std::ostream* out)
{
    *out << '"' << known.text << '"';
}

class Crc32KnownValueTest : public testing::TestWithParam<KnownCrc> { };

TEST_P(Crc32KnownValueTest, FinalWritesLeastSignificantByteFirst)
{
    EXPECT_EQ(Crc32Of(Bytes(GetParam().text), GetParam().text.size()), GetParam().digest);
}

INSTANTIATE_TEST_SUITE_P(Crc32, Crc32KnownValueTest,
    testing::Values(KnownCrc {"", {0x00, 0x00, 0x00, 0x00}}, KnownCrc {"a", {0x43, 0xBE, 0xB7, 0xE8}},
        KnownCrc {"123456789", {0x26, 0x39, 0xF4, 0xCB}},
        KnownCrc {"The quick brown fox jumps over the lazy dog", {0x39, 0xA3, 0x4F, 0x41}}));

TEST(Crc32Test, DigestSizeIsFour)
{
    EXPECT_EQ(CCrc32().DigestSize(), 4U);
}

TEST(Crc32Test, FinalRestartsTheChecksum)
{
    CCrc32 crc;
    Digest first {};
    Digest second {};
    crc.Update(Bytes("123456789"), 9);
    crc.Final(first.data());
    crc.Final(second.data());
    EXPECT_EQ(first, (Digest {0x26, 0x39, 0xF4, 0xCB}));
    EXPECT_EQ(second, (Digest {0x00, 0x00, 0x00, 0x00}));

    crc.Update(Bytes("123456789"), 9);
    crc.Final(second.data());
    EXPECT_EQ(second, first);
}

// Start offsets 0..7 put the data at every alignment, so the single-byte lead
// in, the aligned words and the single-byte tail all get exercised.
TEST(Crc32Test, EveryAlignmentAndLengthMatchesReference)
{
    const std::vector<std::uint8_t> source = RandomBytes(72, 1);
    alignas(8) std::array<std::uint8_t, 72> buffer {};
    std::copy(source.begin(), source.end(), buffer.begin());

    for (std::size_t offset = 0; offset < 8; ++offset) {
        for (std::size_t length = 0; length <= 64; ++length) {
            const std::uint8_t* start = buffer.data() + offset;
            EXPECT_EQ(Crc32Of(start, length), ReferenceCrc32(start, length))
                << "offset " << offset << ", length " << length;
        }
    }
}

TEST(Crc32Test, LargeBufferMatchesReference)
{
    const std::vector<std::uint8_t> data = RandomBytes(1 << 20, 2);
    EXPECT_EQ(Crc32Of(data.data(), data.size()), ReferenceCrc32(data.data(), data.size()));
    EXPECT_EQ(Crc32Of(data.data() + 3, data.size() - 5), ReferenceCrc32(data.data() + 3, data.size() - 5));
}

TEST(Crc32Test, UpdateInPiecesEqualsOneUpdate)
{
    const std::vector<std::uint8_t> data = RandomBytes(1000, 3);
    const Digest whole = Crc32Of(data.data(), data.size());

    for (const std::size_t piece : {1U, 2U, 3U, 5U, 7U, 8U, 13U, 64U, 999U}) {
        CCrc32 crc;
        for (std::size_t done = 0; done < data.size(); done += piece) {
            crc.Update(data.data() + done, std::min(piece, data.size() - done));
        }
        Digest digest {};
        crc.Final(digest.data());
        EXPECT_EQ(digest, whole) << "pieces of " << piece;
    }
}

TEST(Crc32Test, DigestIsUpdateThenFinal)
{
    CCrc32 crc;
    Digest digest {};
    crc.Digest(digest.data(), Bytes("123456789"), 9);
    EXPECT_EQ(digest, (Digest {0x26, 0x39, 0xF4, 0xCB}));

    // Digest restarts like Final, so the same call gives the same result.
    crc.Digest(digest.data(), Bytes("123456789"), 9);
    EXPECT_EQ(digest, (Digest {0x26, 0x39, 0xF4, 0xCB}));
}

TEST(Crc32Test, MatchesComparesAndRestarts)
{
    const Digest expected {0x26, 0x39, 0xF4, 0xCB};
    CCrc32 crc;

    crc.Update(Bytes("123456789"), 9);
    EXPECT_TRUE(crc.Matches(expected.data()));

    // Restarted by the previous Matches: nothing fed means the empty CRC.
    EXPECT_TRUE(crc.Matches(Digest {0x00, 0x00, 0x00, 0x00}.data()));

    for (std::size_t i = 0; i < expected.size(); ++i) {
        Digest wrong = expected;
        wrong[i] ^= 0x01;
        crc.Update(Bytes("123456789"), 9);
        EXPECT_FALSE(crc.Matches(wrong.data())) << "byte " << i << " altered";
    }

    // A mismatch restarts too.
    crc.Update(Bytes("123456789"), 9);
    EXPECT_TRUE(crc.Matches(expected.data()));
}

TEST(Crc32Test, MatchesDataIsUpdateThenMatches)
{
    const Digest expected {0x26, 0x39, 0xF4, 0xCB};
    CCrc32 crc;
    EXPECT_TRUE(crc.MatchesData(expected.data(), Bytes("123456789"), 9));
    EXPECT_FALSE(crc.MatchesData(expected.data(), Bytes("123456780"), 9));
    EXPECT_TRUE(crc.MatchesData(expected.data(), Bytes("123456789"), 9));

    // Data fed earlier counts towards the result.
    crc.Update(Bytes("1234"), 4);
    EXPECT_TRUE(crc.MatchesData(expected.data(), Bytes("56789"), 5));
}

}  // namespace
}  // namespace sekreta
