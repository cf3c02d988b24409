#include "AllocationCounter.h"

#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"
#include "storage/BufferCipher.h"
#include "storage/RecordFile.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace sekreta {
namespace {

constexpr std::string_view kPassPhrase = "benchmark pass phrase";

std::vector<AccountRecord> MakeRecords(std::size_t count)
{
    std::vector<AccountRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        records.push_back({"Account " + n, "https://example.com/login/" + n, "user" + n + "@example.com",
            "pw-" + n + "-Xq7v", "Notes for entry " + n + "\r\nsecond line"});
    }
    return records;
}

std::vector<std::uint8_t> StoreToMemory(const std::vector<AccountRecord>& records)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    StoreRecords(archive, records, kPassPhrase);
    archive.Close();
    return file.Detach();
}

void BM_Store(benchmark::State& state)
{
    const std::vector<AccountRecord> records = MakeRecords(static_cast<std::size_t>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> file = StoreToMemory(records);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Store)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state)
{
    const std::vector<std::uint8_t> file = StoreToMemory(MakeRecords(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        CMemFile memory(file);
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> records;
        LoadRecords(archive, records, kPassPhrase);
        benchmark::DoNotOptimize(records.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_Load)->Arg(10000)->Unit(benchmark::kMillisecond);

// A 40-byte file whose region claims 2 GB, and one whose only record claims a 4 GB field:
// both must fail at once, allocating next to nothing.
void LoadHostile(benchmark::State& state, const std::vector<std::uint8_t>& file)
{
    std::size_t largest = 0;
    for (auto _ : state) {
        bench::AllocationCounter counter;
        CMemFile memory(file);
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> records;
        try {
            LoadRecords(archive, records, kPassPhrase);
            state.SkipWithError("the hostile file loaded");
        } catch (const CArchiveException&) {
        }
        largest = std::max(largest, counter.Largest());
    }
    state.counters["largest_allocation_bytes"] = static_cast<double>(largest);
}

void BM_LoadHostileRegionLength(benchmark::State& state)
{
    std::vector<std::uint8_t> file = StoreToMemory({{"a", "", "", "", ""}});
    file[12] = 0xF8;
    file[13] = 0xFF;
    file[14] = 0xFF;
    file[15] = 0x7F;
    LoadHostile(state, file);
}
BENCHMARK(BM_LoadHostileRegionLength);

void BM_LoadHostileField(benchmark::State& state)
{
    // The image: signature, count 1, then a field prefix claiming 0xFFFFFFFF bytes.
    std::vector<std::uint8_t> image
        = {7, 'S', 'e', 'k', 'r', 'e', 't', 'a', 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0};
    CMemFile memory;
    CArchive archive(memory, CArchive::store);
    EncryptBuffer(kPassPhrase, image);
    archive.WriteString("Sekreta");
    archive.WriteInt32(1);
    archive.WriteInt32(static_cast<std::int32_t>(image.size()));
    archive.Write(image.data(), image.size());
    archive.Close();
    LoadHostile(state, memory.Detach());
}
BENCHMARK(BM_LoadHostileField);

}  // namespace
}  // namespace sekreta
