#include "storage/Rc5Kernel.h"
#include "storage/BufferCipher.h"
#include "storage/CRc5Decryptor.h"
#include "storage/CRc5Encryptor.h"

#include "support/RandomBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sekreta {

// Found through the kernel's namespace, so failures name the kernel.
static void PrintTo(Rc5Kernel kernel, std::ostream* out)
{
    *out << Rc5KernelName(kernel);
}

namespace {

using Bytes = std::vector<std::uint8_t>;
using test::RandomBytes;

// Enough blocks for two of the widest kernel's unrolled steps (8 vectors of 16 blocks), then
// every shorter tail: single vectors, groups of four and single blocks.
constexpr std::size_t kMostBlocks = 2 * 128 + 16 + 15;

class Rc5KernelTest : public testing::TestWithParam<Rc5Kernel> {
protected:
    void SetUp() override
    {
        if (!CanRun(GetParam()))
            GTEST_SKIP() << "this processor cannot run the " << Rc5KernelName(GetParam()) << " kernel";
    }
};

std::string KernelName(const testing::TestParamInfo<Rc5Kernel>& info)
{
    switch (info.param) {
    case Rc5Kernel::portable:
        return "Portable";
    case Rc5Kernel::avx2:
        return "Avx2";
    case Rc5Kernel::avx512:
        return "Avx512";
    }
    return "Unknown";
}

struct PublishedVector {
    Bytes key;
    std::uint32_t rounds;
    std::array<std::uint8_t, 8> plain;
    std::array<std::uint8_t, 8> cipher;
};

// Rivest's RC5-32/12/16 vectors, and RFC 2040's single blocks with other key lengths and
// round counts (none, one, eight, sixteen), so that the vector kernels' round loops are
// checked beyond the twelve rounds the files use.
const PublishedVector kVectors[] = {
    {Bytes(16, 0), 12, {0, 0, 0, 0, 0, 0, 0, 0}, {0x21, 0xA5, 0xDB, 0xEE, 0x15, 0x4B, 0x8F, 0x6D}},
    {{0x91, 0x5F, 0x46, 0x19, 0xBE, 0x41, 0xB2, 0x51, 0x63, 0x55, 0xA5, 0x01, 0x10, 0xA9, 0xCE, 0x91}, 12,
        {0x21, 0xA5, 0xDB, 0xEE, 0x15, 0x4B, 0x8F, 0x6D}, {0xF7, 0xC0, 0x13, 0xAC, 0x5B, 0x2B, 0x89, 0x52}},
    {{0x78, 0x33, 0x48, 0xE7, 0x5A, 0xEB, 0x0F, 0x2F, 0xD7, 0xB1, 0x69, 0xBB, 0x8D, 0xC1, 0x67, 0x87}, 12,
        {0xF7, 0xC0, 0x13, 0xAC, 0x5B, 0x2B, 0x89, 0x52}, {0x2F, 0x42, 0xB3, 0xB7, 0x03, 0x69, 0xFC, 0x92}},
    {{0xDC, 0x49, 0xDB, 0x13, 0x75, 0xA5, 0x58, 0x4F, 0x64, 0x85, 0xB4, 0x13, 0xB5, 0xF1, 0x2B, 0xAF}, 12,
        {0x2F, 0x42, 0xB3, 0xB7, 0x03, 0x69, 0xFC, 0x92}, {0x65, 0xC1, 0x78, 0xB2, 0x84, 0xD1, 0x97, 0xCC}},
    {{0x52, 0x69, 0xF1, 0x49, 0xD4, 0x1B, 0xA0, 0x15, 0x24, 0x97, 0x57, 0x4D, 0x7F, 0x15, 0x31, 0x25}, 12,
        {0x65, 0xC1, 0x78, 0xB2, 0x84, 0xD1, 0x97, 0xCC}, {0xEB, 0x44, 0xE4, 0x15, 0xDA, 0x31, 0x98, 0x24}},
    {{0x00}, 0, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0x79, 0x7B, 0xBA, 0x4D, 0x78, 0x11, 0x1D, 0x1E}},
    {{0x11}, 1, {0, 0, 0, 0, 0, 0, 0, 0}, {0x2F, 0x75, 0x9F, 0xE7, 0xAD, 0x86, 0xA3, 0x78}},
    {{0x01, 0x02, 0x03, 0x04}, 8, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0x82, 0x85, 0xE7, 0xC1, 0xB5, 0xBC, 0x74, 0x02}},
    {{0x01, 0x02, 0x03, 0x04}, 16, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xCF, 0x27, 0x0E, 0xF9, 0x71, 0x7F, 0xF7, 0xC4}},
    {{0x01, 0x02, 0x03, 0x04, 0x05}, 12, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0x97, 0xE0, 0x78, 0x78, 0x37, 0xED, 0x31, 0x7F}},
};

Bytes Repeated(const std::array<std::uint8_t, 8>& block, std::size_t count)
{
    Bytes bytes;
    for (std::size_t i = 0; i < count; ++i)
        bytes.insert(bytes.end(), block.begin(), block.end());
    return bytes;
}

// Every lane of every step of the kernel computes the published block: a lane left out or a
// wrong round shows as a block unlike the published one.
TEST_P(Rc5KernelTest, EveryBlockOfALongBufferMatchesThePublishedVectors)
{
    for (const PublishedVector& vector : kVectors) {
        CRc5Encryptor encryptor(vector.key.data(), vector.key.size(), vector.rounds);
        CRc5Decryptor decryptor(vector.key.data(), vector.key.size(), vector.rounds);
        Bytes buffer = Repeated(vector.plain, kMostBlocks);
        encryptor.TransformBlocks(buffer.data(), kMostBlocks, GetParam());
        EXPECT_EQ(buffer, Repeated(vector.cipher, kMostBlocks)) << vector.rounds << " rounds";
        decryptor.TransformBlocks(buffer.data(), kMostBlocks, GetParam());
        EXPECT_EQ(buffer, Repeated(vector.plain, kMostBlocks)) << vector.rounds << " rounds";
    }
}

// Against the one-block rule, for every block count up to two of the widest steps and every
// tail, at every alignment of the buffer: a block put back in another lane's place shows here.
// The bytes around the buffer stay as they were.
TEST_P(Rc5KernelTest, RandomBuffersOfEveryLengthGiveTheBytesOfOneBlockAtATime)
{
    const Bytes key = RandomBytes(16, 99);
    CRc5Encryptor encryptor(key.data(), key.size(), 12);
    CRc5Decryptor decryptor(key.data(), key.size(), 12);
    for (std::size_t count = 0; count <= kMostBlocks; ++count) {
        const std::size_t offset = count % 8;
        const Bytes plain = RandomBytes(8 * count, static_cast<std::uint32_t>(count));
        Bytes expected = plain;
        for (std::size_t block = 0; block < count; ++block)
            encryptor.TransformBlock(expected.data() + 8 * block);

        Bytes room = RandomBytes(8 * count + 16, 7);
        const Bytes before = room;
        std::copy(plain.begin(), plain.end(), room.begin() + static_cast<std::ptrdiff_t>(offset));
        std::uint8_t* const start = room.data() + offset;
        encryptor.TransformBlocks(start, count, GetParam());
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), start)) << count << " blocks encrypted";
        decryptor.TransformBlocks(start, count, GetParam());
        ASSERT_TRUE(std::equal(plain.begin(), plain.end(), start)) << count << " blocks decrypted";
        EXPECT_TRUE(std::equal(room.begin(), room.begin() + static_cast<std::ptrdiff_t>(offset), before.begin()))
            << "bytes before " << count << " blocks";
        EXPECT_TRUE(std::equal(room.begin() + static_cast<std::ptrdiff_t>(offset + 8 * count), room.end(),
            before.begin() + static_cast<std::ptrdiff_t>(offset + 8 * count)))
            << "bytes after " << count << " blocks";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kernels, Rc5KernelTest, testing::Values(Rc5Kernel::portable, Rc5Kernel::avx2, Rc5Kernel::avx512), KernelName);

TEST(Rc5KernelChoice, TheFastestKernelIsTheWidestThatRuns)
{
    const Rc5Kernel fastest = FastestRc5Kernel();
    EXPECT_TRUE(CanRun(fastest));
    EXPECT_TRUE(CanRun(Rc5Kernel::portable));
    if (CanRun(Rc5Kernel::avx512))
        EXPECT_EQ(fastest, Rc5Kernel::avx512);
    else if (CanRun(Rc5Kernel::avx2))
        EXPECT_EQ(fastest, Rc5Kernel::avx2);
    else
        EXPECT_EQ(fastest, Rc5Kernel::portable);
}

TEST(Rc5KernelChoice, AKernelThisProcessorCannotRunIsRefusedAndChangesNothing)
{
    const Bytes key(16, 1);
    CRc5Encryptor encryptor(key.data(), key.size(), 12);
    CRc5Decryptor decryptor(key.data(), key.size(), 12);
    bool refusedOne = false;
    for (const Rc5Kernel kernel : {Rc5Kernel::avx2, Rc5Kernel::avx512}) {
        if (CanRun(kernel))
            continue;
        refusedOne = true;
        const Bytes plain = RandomBytes(8 * 64, 3);
        Bytes buffer = plain;
        const std::string expected = "this processor cannot run the " + std::string(Rc5KernelName(kernel)) + " kernel";
        try {
            encryptor.TransformBlocks(buffer.data(), 64, kernel);
            ADD_FAILURE() << "encrypted with " << Rc5KernelName(kernel);
        } catch (const std::invalid_argument& failure) {
            EXPECT_EQ(failure.what(), expected);
        }
        EXPECT_THROW(decryptor.TransformBlocks(buffer.data(), 64, kernel), std::invalid_argument);
        EXPECT_EQ(buffer, plain);
    }
    if (!refusedOne)
        GTEST_SKIP() << "this processor runs every kernel";
}

// The buffer operations take the fastest kernel; the bytes are those of the portable one.
TEST(Rc5KernelChoice, EncryptBufferGivesThePortableKernelsBytes)
{
    const Bytes plain = RandomBytes(8 * kMostBlocks, 5);
    Bytes buffer = plain;
    EncryptBuffer("pass phrase", buffer);

    const std::array<std::uint8_t, 16> key = DeriveKey("pass phrase");
    Bytes portable = plain;
    CRc5Encryptor(key.data(), key.size(), 12).TransformBlocks(portable.data(), kMostBlocks, Rc5Kernel::portable);
    EXPECT_EQ(buffer, portable);

    DecryptBuffer("pass phrase", buffer);
    EXPECT_EQ(buffer, plain);
}

}  // namespace
}  // namespace sekreta
