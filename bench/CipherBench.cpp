#include "storage/BufferCipher.h"
#include "storage/CCrc32.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

namespace sekreta {
namespace {

std::vector<std::uint8_t> FilledBuffer(std::size_t size)
{
    std::vector<std::uint8_t> buffer(size);
    for (std::size_t i = 0; i < size; ++i) {
        buffer[i] = static_cast<std::uint8_t>(i * 31 + 7);
    }
    return buffer;
}

void BM_EncryptBuffer(benchmark::State& state)
{
    std::vector<std::uint8_t> buffer = FilledBuffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        EncryptBuffer("benchmark pass phrase", buffer);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EncryptBuffer)->Arg(64 << 10)->Arg(1 << 20);

void BM_DecryptBuffer(benchmark::State& state)
{
    std::vector<std::uint8_t> buffer = FilledBuffer(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        DecryptBuffer("benchmark pass phrase", buffer);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecryptBuffer)->Arg(64 << 10)->Arg(1 << 20);

void BM_Crc32Update(benchmark::State& state)
{
    const std::vector<std::uint8_t> buffer = FilledBuffer(static_cast<std::size_t>(state.range(0)));
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
