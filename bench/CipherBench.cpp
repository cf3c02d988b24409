#include "PairedTiming.h"

#include "storage/BufferCipher.h"
#include "storage/CCrc32.h"
#include "storage/CRc5Decryptor.h"
#include "storage/CRc5Encryptor.h"
#include "storage/Rc5Kernel.h"

#include <benchmark/benchmark.h>
#include <crypto++/argnames.h>
#include <crypto++/modes.h>
#include <crypto++/rc5.h>

#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta {
namespace {

constexpr std::string_view kPassPhrase = "benchmark pass phrase";
constexpr int kRounds = 12;

std::vector<std::uint8_t> RandomBuffer(std::size_t size)
{
    std::mt19937 engine(42);
    std::vector<std::uint8_t> buffer(size);
    for (std::uint8_t& byte : buffer)
        byte = static_cast<std::uint8_t>(engine());
    return buffer;
}

// The peer: Crypto++'s RC5 in ECB mode under the key and rounds we use, set up on every call
// as EncryptBuffer sets up its cipher.
template <typename Mode> void CryptoPpTransform(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    std::array<std::uint8_t, 16> key = DeriveKey(passPhrase);
    Mode mode;
    mode.SetKey(key.data(), key.size(), CryptoPP::MakeParameters(CryptoPP::Name::Rounds(), kRounds));
    mode.ProcessData(buffer.data(), buffer.data(), buffer.size());
}

void CryptoPpEncrypt(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    CryptoPpTransform<CryptoPP::ECB_Mode<CryptoPP::RC5>::Encryption>(passPhrase, buffer);
}

void CryptoPpDecrypt(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    CryptoPpTransform<CryptoPP::ECB_Mode<CryptoPP::RC5>::Decryption>(passPhrase, buffer);
}

// A ratio means something only when both sides compute the same thing.
template <typename Ours, typename Peer> bool SameBytes(Ours ours, Peer peer, std::size_t size)
{
    std::vector<std::uint8_t> mine = RandomBuffer(size);
    std::vector<std::uint8_t> theirs = mine;
    ours(kPassPhrase, std::span(mine));
    peer(kPassPhrase, std::span(theirs));
    return mine == theirs;
}

// ours and peer transform a buffer in place under a pass phrase.
template <typename Ours, typename Peer> void CompareWithCryptoPp(benchmark::State& state, Ours ours, Peer peer)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    // Odd block counts reach every kernel's tail.
    if (!SameBytes(ours, peer, 4096 + 8 * 13)) {
        state.SkipWithError("our bytes differ from Crypto++'s");
        return;
    }
    std::vector<std::uint8_t> buffer = RandomBuffer(size);
    const bench::PairedTimes times = bench::TimePaired(
        state, [&] { ours(kPassPhrase, std::span(buffer)); }, [&] { peer(kPassPhrase, std::span(buffer)); });
    const double bytes = static_cast<double>(size) * static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["cryptopp_MB/s"] = bytes / times.peer / 1e6;
    state.counters["x_cryptopp"] = times.peer / times.ours;
}

void BM_EncryptBuffer(benchmark::State& state)
{
    CompareWithCryptoPp(state, EncryptBuffer, CryptoPpEncrypt);
}
BENCHMARK(BM_EncryptBuffer)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();

void BM_DecryptBuffer(benchmark::State& state)
{
    CompareWithCryptoPp(state, DecryptBuffer, CryptoPpDecrypt);
}
BENCHMARK(BM_DecryptBuffer)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();

// Each kernel on its own, through the cipher classes, beside the same peer: the portable
// kernel must beat Crypto++ too, for processors without the vector units.
template <typename Cipher>
void TransformWithKernel(Rc5Kernel kernel, std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    std::array<std::uint8_t, 16> key = DeriveKey(passPhrase);
    Cipher cipher(key.data(), key.size(), kRounds);
    cipher.TransformBlocks(buffer.data(), buffer.size() / 8, kernel);
}

template <typename Cipher, typename Peer>
void CompareKernelWithCryptoPp(benchmark::State& state, Rc5Kernel kernel, Peer peer)
{
    if (!CanRun(kernel)) {
        state.SkipWithError(
            ("this processor cannot run the " + std::string(Rc5KernelName(kernel)) + " kernel").c_str());
        return;
    }
    CompareWithCryptoPp(
        state,
        [kernel](std::string_view passPhrase, std::span<std::uint8_t> buffer) {
            TransformWithKernel<Cipher>(kernel, passPhrase, buffer);
        },
        peer);
}

void BM_EncryptBlocks(benchmark::State& state, Rc5Kernel kernel)
{
    CompareKernelWithCryptoPp<CRc5Encryptor>(state, kernel, CryptoPpEncrypt);
}

void BM_DecryptBlocks(benchmark::State& state, Rc5Kernel kernel)
{
    CompareKernelWithCryptoPp<CRc5Decryptor>(state, kernel, CryptoPpDecrypt);
}

BENCHMARK_CAPTURE(BM_EncryptBlocks, portable, Rc5Kernel::portable)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();
BENCHMARK_CAPTURE(BM_DecryptBlocks, portable, Rc5Kernel::portable)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();
BENCHMARK_CAPTURE(BM_EncryptBlocks, avx2, Rc5Kernel::avx2)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();
BENCHMARK_CAPTURE(BM_DecryptBlocks, avx2, Rc5Kernel::avx2)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();
BENCHMARK_CAPTURE(BM_EncryptBlocks, avx512, Rc5Kernel::avx512)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();
BENCHMARK_CAPTURE(BM_DecryptBlocks, avx512, Rc5Kernel::avx512)->Arg(64 << 10)->Arg(16 << 20)->UseManualTime();

void BM_Crc32Update(benchmark::State& state)
{
    const std::vector<std::uint8_t> buffer = RandomBuffer(static_cast<std::size_t>(state.range(0)));
    CCrc32 crc;
    std::array<std::uint8_t, 4> digest {};
    for (auto _ : state) {
        crc.Update(buffer.data(), buffer.size());
        crc.Final(digest.data());
        benchmark::DoNotOptimize(digest.data());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Crc32Update)->Arg(1 << 20);

}  // namespace
}  // namespace sekreta
