#include "storage/DecryptingRegion.h"

#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"
#include "storage/BufferCipher.h"

#include "support/RandomBytes.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace sekreta {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::RandomBytes;

constexpr std::string_view kPhrase = "region phrase";

// A source with three bytes before the region and some after it, as in a file.
struct Source {
    explicit Source(const Bytes& region)
        : file(Concat(region))
        , archive(file, CArchive::load, 64)
    {
        std::uint8_t head[3];
        archive.Read(head, sizeof head);
    }

    static Bytes Concat(const Bytes& region)
    {
        Bytes bytes(3 + region.size() + 4);
        const auto tail = std::copy(region.begin(), region.end(), std::copy_n("hed", 3, bytes.begin()));
        std::copy_n("tail", 4, tail);
        return bytes;
    }

    CMemFile file;
    CArchive archive;
};

Bytes Encrypted(Bytes plain, std::string_view phrase = kPhrase)
{
    EncryptBuffer(phrase, plain);
    return plain;
}

// Reads the whole region in pieces of the given sizes, over and over.
Bytes ReadInPieces(DecryptingRegion& region, const std::vector<std::size_t>& pieces)
{
    Bytes all;
    for (std::size_t i = 0;; ++i) {
        Bytes piece(pieces[i % pieces.size()]);
        const std::size_t got = region.Read(piece.data(), piece.size());
        all.insert(all.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
        if (got == 0)
            return all;
    }
}

TEST(DecryptingRegion, ReadsInAnyPiecesGiveTheDecryptedRegionAndNothingAfterIt)
{
    const Bytes plain = RandomBytes(8 * 20000, 1);
    const std::vector<std::vector<std::size_t>> patterns
        = {{8}, {1}, {3, 5, 7, 9}, {4096}, {65536}, {65541, 13}, {200000}, {7, 65536, 1, 70001}};
    for (const std::vector<std::size_t>& pieces : patterns) {
        Source source(Encrypted(plain));
        DecryptingRegion region(source.archive, plain.size(), kPhrase);
        EXPECT_EQ(region.GetLength(), plain.size());
        ASSERT_EQ(ReadInPieces(region, pieces), plain) << "pieces of " << pieces.front() << "...";
        EXPECT_EQ(region.GetPosition(), plain.size());
        // The source stands right after the region.
        std::uint8_t tail[4];
        source.archive.Read(tail, sizeof tail);
        EXPECT_EQ(Bytes(tail, tail + 4), (Bytes {'t', 'a', 'i', 'l'}));
    }
}

TEST(DecryptingRegion, RewindReadsTheStartAgainUnderAnotherPhrase)
{
    const Bytes cipher = RandomBytes(8 * 5000, 2);
    Bytes underOther = cipher;
    DecryptBuffer("other phrase", underOther);

    Source source(cipher);
    DecryptingRegion region(source.archive, cipher.size(), kPhrase);
    region.KeepForRewind();
    Bytes start(4099);
    region.Read(start.data(), start.size());
    Bytes expectedStart = cipher;
    DecryptBuffer(kPhrase, expectedStart);
    EXPECT_TRUE(std::equal(start.begin(), start.end(), expectedStart.begin()));

    region.Rewind("other phrase");
    EXPECT_EQ(region.GetPosition(), 0u);
    EXPECT_EQ(ReadInPieces(region, {5, 4096, 11}), underOther);
}

TEST(DecryptingRegion, RewindNeedsTheBytesKeptFromTheStart)
{
    const Bytes cipher = RandomBytes(64, 3);
    Source source(cipher);
    DecryptingRegion region(source.archive, cipher.size(), kPhrase);
    EXPECT_THROW(region.Rewind(kPhrase), std::logic_error);

    Bytes piece(8);
    region.Read(piece.data(), piece.size());
    EXPECT_THROW(region.KeepForRewind(), std::logic_error);

    // A rewind ends the keeping, so a second one has nothing to go back to.
    Source again(cipher);
    DecryptingRegion kept(again.archive, cipher.size(), kPhrase);
    kept.KeepForRewind();
    kept.Rewind(kPhrase);
    EXPECT_THROW(kept.Rewind(kPhrase), std::logic_error);
}

TEST(DecryptingRegion, ASourceThatEndsEarlyEndsWithEndOfFile)
{
    CMemFile file(RandomBytes(40, 4));
    CArchive archive(file, CArchive::load);
    DecryptingRegion region(archive, 80, kPhrase);
    Bytes all(80);
    try {
        region.Read(all.data(), all.size());
        FAIL() << "read past the source";
    } catch (const CArchiveException& failure) {
        EXPECT_EQ(failure.m_cause, CArchiveException::endOfFile);
    }
}

TEST(DecryptingRegion, ALengthOfPartBlocksIsRefused)
{
    CMemFile file(RandomBytes(40, 5));
    CArchive archive(file, CArchive::load);
    EXPECT_THROW(DecryptingRegion(archive, 12, kPhrase), std::invalid_argument);
}

}  // namespace
}  // namespace sekreta
