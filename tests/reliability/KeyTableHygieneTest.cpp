// The expanded RC5 key must not outlive the cipher that holds it. The test program replaces
// operator new and delete (AllocationWatch.cpp), so every heap block the cipher code hands back
// is examined before it is freed: the key table must come back all zeros, and no block the
// code frees, from one cipher or from a whole file written and read, may still hold a word of
// the expanded key or of the key it came from.
#include "AllocationWatch.h"

#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "storage/BufferCipher.h"
#include "storage/CRc5Decryptor.h"
#include "storage/CRc5Encryptor.h"
#include "storage/RecordFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace sekreta::test {
namespace {

constexpr std::uint32_t kRounds = 12;
constexpr std::string_view kPassPhrase = "correct horse";

// The same expansion as the ciphers', to know which words are secret.
class KeyTable final : public CRc5Cipher {
public:
    using CRc5Cipher::CRc5Cipher;
    void TransformBlock(const std::uint8_t*, std::uint8_t*) override { }
    void TransformBlock(std::uint8_t*) override { }
    std::vector<std::uint32_t> Words() const { return {Table(), Table() + 2 * Rounds() + 2}; }
};

// The words of the key and of its expansion.
std::vector<std::uint32_t> SecretWords(const std::array<std::uint8_t, 16>& key)
{
    std::vector<std::uint32_t> words = KeyTable(key.data(), key.size(), kRounds).Words();
    for (std::size_t i = 0; i < key.size(); i += 4) {
        std::uint32_t word;
        std::memcpy(&word, key.data() + i, 4);
        words.push_back(word);
    }
    return words;
}

std::vector<Rc5Kernel> RunnableKernels()
{
    std::vector<Rc5Kernel> kernels;
    for (const Rc5Kernel kernel : {Rc5Kernel::portable, Rc5Kernel::avx2, Rc5Kernel::avx512}) {
        if (CanRun(kernel))
            kernels.push_back(kernel);
    }
    return kernels;
}

constexpr std::size_t kTableBytes = (2 * kRounds + 2) * sizeof(std::uint32_t);

// Whether a block handed out and not yet taken back holds exactly the table's words.
bool HoldsTable(const AllocationWatch& watch, const std::vector<std::uint32_t>& table)
{
    return std::ranges::any_of(watch.LiveBlocks(), [&](const auto& block) {
        return block.second == kTableBytes && std::memcmp(block.first, table.data(), kTableBytes) == 0;
    });
}

template <typename Cipher> void ExpectTableWipedAndNothingLeft(Rc5Kernel kernel)
{
    const std::array<std::uint8_t, 16> key = DeriveKey(kPassPhrase);
    const std::vector<std::uint32_t> secrets = SecretWords(key);
    const std::vector<std::uint32_t> table(secrets.begin(), secrets.end() - 4);
    std::vector<std::uint8_t> blocks(8 * 100, 0x5A);

    // In a buffer of the test's own, so that what the object itself keeps can be looked at.
    alignas(Cipher) std::uint8_t place[sizeof(Cipher)] {};
    AllocationWatch watch(secrets);
    Cipher* cipher = new (place) Cipher(key.data(), key.size(), kRounds);
    EXPECT_TRUE(HoldsTable(watch, table)) << "the table is where the test looks for it";
    cipher->TransformBlocks(blocks.data(), blocks.size() / 8, kernel);
    cipher->~Cipher();
    watch.Stop();

    const std::vector<AllocationWatch::Released> released = watch.ReleasedBlocks();
    const auto wiped = std::ranges::count_if(
        released, [](const AllocationWatch::Released& block) { return block.size == kTableBytes && block.allZero; });
    EXPECT_EQ(wiped, 1) << "the key table comes back all zeros";
    for (const AllocationWatch::Released& block : released)
        EXPECT_FALSE(block.holdsSecret) << "a block of " << block.size << " bytes still holds key words";
    EXPECT_FALSE(HoldsAnyWord(place, sizeof place, secrets)) << "the object itself keeps no key words";
}

TEST(KeyTableHygiene, TheEncryptorsTableIsZeroAfterDestructionWithEveryKernel)
{
    for (const Rc5Kernel kernel : RunnableKernels()) {
        SCOPED_TRACE(std::string(Rc5KernelName(kernel)));
        ExpectTableWipedAndNothingLeft<CRc5Encryptor>(kernel);
    }
}

TEST(KeyTableHygiene, TheDecryptorsTableIsZeroAfterDestructionWithEveryKernel)
{
    for (const Rc5Kernel kernel : RunnableKernels()) {
        SCOPED_TRACE(std::string(Rc5KernelName(kernel)));
        ExpectTableWipedAndNothingLeft<CRc5Decryptor>(kernel);
    }
}

TEST(KeyTableHygiene, TheBufferOperationsLeaveNoKeyInTheHeap)
{
    const std::vector<std::uint32_t> secrets = SecretWords(DeriveKey(kPassPhrase));
    std::vector<std::uint8_t> buffer(8 * 1000, 0x33);
    AllocationWatch watch(secrets);
    EncryptBuffer(kPassPhrase, buffer);
    DecryptBuffer(kPassPhrase, buffer);
    watch.Stop();

    const std::vector<AllocationWatch::Released> released = watch.ReleasedBlocks();
    EXPECT_GE(
        std::ranges::count_if(released, [](const auto& block) { return block.size == kTableBytes && block.allZero; }),
        2)
        << "each operation's key table came back wiped";
    for (const AllocationWatch::Released& block : released)
        EXPECT_FALSE(block.holdsSecret) << "a block of " << block.size << " bytes still holds key words";
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](std::uint8_t byte) { return byte == 0x33; }));
}

TEST(KeyTableHygiene, WritingAndReadingAFileLeaveNoKeyInTheHeap)
{
    const std::vector<std::uint32_t> secrets = SecretWords(DeriveKey(kPassPhrase));
    const std::vector<AccountRecord> records(300, {"Bank", "https://bank.example", "me", "s3cret", "notes"});
    std::vector<AccountRecord> loaded;
    {
        AllocationWatch watch(secrets);
        CMemFile file;
        CArchive writer(file, CArchive::store);
        StoreRecords(writer, records, kPassPhrase);
        writer.Close();
        CMemFile again(file.Detach());
        CArchive reader(again, CArchive::load);
        LoadRecords(reader, loaded, kPassPhrase);
        watch.Stop();
        for (const AllocationWatch::Released& block : watch.ReleasedBlocks())
            EXPECT_FALSE(block.holdsSecret) << "a block of " << block.size << " bytes still holds key words";
    }
    EXPECT_EQ(loaded, records);
}

TEST(KeyTableHygiene, TheWatchSeesAKeyLeftInAFreedBlock)
{
    // Without this, the tests above could pass for a watch that sees nothing.
    const std::vector<std::uint32_t> secrets = SecretWords(DeriveKey(kPassPhrase));
    AllocationWatch watch(secrets);
    auto copy = std::make_unique<std::uint32_t[]>(secrets.size());
    std::copy(secrets.begin(), secrets.end(), copy.get());
    copy.reset();
    auto zeros = std::make_unique<std::uint8_t[]>(64);
    zeros.reset();
    watch.Stop();

    const std::vector<AllocationWatch::Released> released = watch.ReleasedBlocks();
    ASSERT_EQ(released.size(), 2u);
    EXPECT_TRUE(released[0].holdsSecret);
    EXPECT_FALSE(released[0].allZero);
    EXPECT_FALSE(released[1].holdsSecret);
    EXPECT_TRUE(released[1].allZero);
}

}  // namespace
}  // namespace sekreta::test
