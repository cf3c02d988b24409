#include "storage/EncryptingRegion.h"

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

std::uint64_t Padded(std::size_t length)
{
    return (length + 7) / 8 * 8;
}

// What the region must hold: the plain bytes and zeros up to whole blocks, encrypted at once.
Bytes Expected(const Bytes& plain)
{
    Bytes region = plain;
    region.resize(static_cast<std::size_t>(Padded(plain.size())), 0);
    EncryptBuffer(kPhrase, region);
    return region;
}

Bytes WriteInPieces(const Bytes& plain, const std::vector<std::size_t>& pieces)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    EncryptingRegion region(archive, Padded(plain.size()), kPhrase);
    std::size_t done = 0;
    for (std::size_t i = 0; done < plain.size(); ++i) {
        const std::size_t piece = std::min(pieces[i % pieces.size()], plain.size() - done);
        region.Write(plain.data() + done, piece);
        done += piece;
    }
    EXPECT_EQ(region.GetPosition(), plain.size());
    region.Close();
    archive.Close();
    return file.Detach();
}

TEST(EncryptingRegion, WritesInAnyPiecesGiveTheEncryptedRegionPaddedWithZeros)
{
    for (const std::size_t length : {0U, 1U, 7U, 8U, 12U, 65535U, 65536U, 65537U, 200003U}) {
        const Bytes plain = RandomBytes(length, static_cast<std::uint32_t>(length));
        for (const std::vector<std::size_t>& pieces :
            std::vector<std::vector<std::size_t>> {{1}, {3, 8, 13}, {4096}, {65536}, {70001, 5}}) {
            EXPECT_EQ(WriteInPieces(plain, pieces), Expected(plain))
                << length << " bytes in pieces of " << pieces.front() << "...";
        }
    }
}

TEST(EncryptingRegion, RefusesBytesBeyondItsLength)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    EncryptingRegion region(archive, 16, kPhrase);
    const Bytes plain = RandomBytes(17, 1);
    region.Write(plain.data(), 10);
    EXPECT_THROW(region.Write(plain.data(), 7), std::logic_error);
    EXPECT_EQ(region.GetPosition(), 10u);
}

// The header has already counted the region's length: an image a block or more shorter would
// leave the file counting bytes it does not hold.
TEST(EncryptingRegion, RefusesToCloseABlockOrMoreShortOfItsLength)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    EncryptingRegion region(archive, 24, kPhrase);
    const Bytes plain = RandomBytes(16, 2);
    region.Write(plain.data(), plain.size());
    EXPECT_THROW(region.Close(), std::logic_error);
}

TEST(EncryptingRegion, ALengthOfPartBlocksIsRefused)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    EXPECT_THROW(EncryptingRegion(archive, 20, kPhrase), std::invalid_argument);
}

}  // namespace
}  // namespace sekreta
