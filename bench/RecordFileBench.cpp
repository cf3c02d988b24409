#include "AllocationCounter.h"
#include "PairedTiming.h"
#include "RecordGenerator.h"
#include "ScratchFolder.h"

#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"
#include "framework/SafeSave.h"
#include "platform/posix/PosixFile.h"
#include "platform/posix/PosixFileSystem.h"
#include "storage/BufferCipher.h"
#include "storage/RecordFile.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <malloc.h>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace sekreta {
namespace {

constexpr std::string_view kPassPhrase = "benchmark pass phrase";
constexpr std::size_t kHeaderSize = 16;

const bench::ScratchFolder& Scratch()
{
    static const bench::ScratchFolder folder;
    return folder;
}

std::unique_ptr<CFile> CreateFile(const std::filesystem::path& path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0)
        throw std::system_error(errno, std::generic_category(), "cannot create " + path.string());
    return std::make_unique<CFile>(std::make_unique<platform::PosixFile>(descriptor), path);
}

std::unique_ptr<CFile> OpenFile(const std::filesystem::path& path)
{
    platform::PosixFileSystem files;
    return CFile::OpenForReading(files, path);
}

void StoreFile(const std::filesystem::path& path, const std::vector<AccountRecord>& records)
{
    const std::unique_ptr<CFile> file = CreateFile(path);
    CArchive archive(*file, CArchive::store);
    StoreRecords(archive, records, kPassPhrase);
    archive.Close();
    file->Close();
}

std::vector<AccountRecord> LoadFile(const std::filesystem::path& path)
{
    const std::unique_ptr<CFile> file = OpenFile(path);
    CArchive archive(*file, CArchive::load);
    std::vector<AccountRecord> records;
    LoadRecords(archive, records, kPassPhrase);
    file->Close();
    return records;
}

struct FileBytes {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
};

// Into memory that is not cleared first: the tightest way to have a file's bytes.
FileBytes ReadWholeFile(const std::filesystem::path& path)
{
    const std::unique_ptr<CFile> file = OpenFile(path);
    FileBytes whole;
    whole.size = static_cast<std::size_t>(file->GetLength());
    whole.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(whole.size);
    std::size_t done = 0;
    while (done < whole.size) {
        const std::size_t got = file->Read(whole.bytes.get() + done, whole.size - done);
        if (got == 0)
            throw std::runtime_error(path.string() + " got shorter");
        done += got;
    }
    file->Close();
    return whole;
}

void WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    const std::unique_ptr<CFile> file = CreateFile(path);
    file->Write(bytes.data(), bytes.size());
    file->Close();
}

std::filesystem::path FileOf(std::size_t count, std::string_view use)
{
    return Scratch().Path() / (std::string(use) + "-" + std::to_string(count) + ".sek");
}

double Megabytes(std::size_t bytes)
{
    return static_cast<double>(bytes) / 1e6;
}

// The record file benchmarks time the work of reading and writing, not the system's handing
// out of fresh pages (which the command-line timings show): glibc is told to keep what is freed
// and to serve even the file-sized blocks from its heap, so that every run, ours or the
// peer's, finds memory at hand. And after many small blocks are freed, glibc merges them at the
// next large request, whichever run makes it: that request is made here, untimed, so that
// neither side pays for the other's records.
void SettleAllocator()
{
    static const bool kept = mallopt(M_TRIM_THRESHOLD, INT_MAX) == 1 && mallopt(M_MMAP_THRESHOLD, 32 << 20) == 1;
    if (!kept)
        throw std::runtime_error("glibc does not take the benchmark's allocation settings");
    std::free(std::malloc(64 * 1024));
}

// The floor of any reader: the file's bytes read into memory and its region decrypted, nothing
// parsed. Load is timed beside it in the same iterations.
void BM_Load(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path path = FileOf(count, "load");
    StoreFile(path, bench::GenerateRecords(count));
    const std::size_t fileSize = std::filesystem::file_size(path);

    {
        bench::AllocationCounter counter;
        const std::vector<AccountRecord> loaded = LoadFile(path);
        state.counters["file_MB"] = Megabytes(fileSize);
        state.counters["records_MB"] = Megabytes(counter.Held());
        state.counters["peak_MB"] = Megabytes(counter.Peak());
        // The budget: twice the file beside the records that the load hands over.
        state.counters["peak_vs_budget"]
            = static_cast<double>(counter.Peak()) / static_cast<double>(2 * fileSize + counter.Held());
    }

    std::vector<AccountRecord> records;
    FileBytes file;
    const bench::PairedTimes times = bench::TimePaired(
        state, [&] { records = LoadFile(path); },
        [&] {
            file = ReadWholeFile(path);
            DecryptBuffer(kPassPhrase, std::span(file.bytes.get() + kHeaderSize, file.size - kHeaderSize));
        },
        [&] {
            records = {};
            file = {};
            SettleAllocator();
        });
    state.SetBytesProcessed(static_cast<std::int64_t>(fileSize * state.iterations()));
    state.counters["baseline_ms"] = times.peer * 1e3 / static_cast<double>(state.iterations());
    state.counters["vs_baseline"] = times.ours / times.peer;
}
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of any reader that hands over records of std::string: the bytes read and decrypted
// as above, and then the same records made, every text in a block of its own, by copying
// records already in memory. What Load takes beyond this is parsing.
void BM_LoadBesideItsFloor(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::filesystem::path path = FileOf(count, "floor");
    const std::vector<AccountRecord> generated = bench::GenerateRecords(count);
    StoreFile(path, generated);

    std::vector<AccountRecord> records;
    FileBytes file;
    const bench::PairedTimes times = bench::TimePaired(
        state, [&] { records = LoadFile(path); },
        [&] {
            file = ReadWholeFile(path);
            DecryptBuffer(kPassPhrase, std::span(file.bytes.get() + kHeaderSize, file.size - kHeaderSize));
            records = generated;
        },
        [&] {
            records = {};
            file = {};
            SettleAllocator();
        });
    state.counters["floor_ms"] = times.peer * 1e3 / static_cast<double>(state.iterations());
    state.counters["vs_floor"] = times.ours / times.peer;
}
BENCHMARK(BM_LoadBesideItsFloor)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The floor of any writer: a region of the file's length encrypted and the file's bytes written.
void BM_Store(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<AccountRecord> records = bench::GenerateRecords(count);
    const std::filesystem::path path = FileOf(count, "store");
    const std::filesystem::path floorPath = FileOf(count, "store-floor");
    StoreFile(path, records);
    const FileBytes file = ReadWholeFile(path);
    std::vector<std::uint8_t> bytes(file.bytes.get(), file.bytes.get() + file.size);

    {
        bench::AllocationCounter counter;
        StoreFile(path, records);
        state.counters["peak_MB"] = Megabytes(counter.Peak());
    }

    const bench::PairedTimes times = bench::TimePaired(
        state, [&] { StoreFile(path, records); },
        [&] {
            EncryptBuffer(kPassPhrase, std::span(bytes).subspan(kHeaderSize));
            WriteWholeFile(floorPath, bytes);
        },
        SettleAllocator);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size() * state.iterations()));
    state.counters["file_MB"] = Megabytes(bytes.size());
    state.counters["baseline_ms"] = times.peer * 1e3 / static_cast<double>(state.iterations());
    state.counters["vs_baseline"] = times.ours / times.peer;
}
BENCHMARK(BM_Store)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The real file system with the writers' lock left out, as saves were before it.
class UnlockedFileSystem : public platform::PosixFileSystem {
public:
    std::error_code LockForWriting(const std::filesystem::path&, std::unique_ptr<platform::FileLock>& lock) override
    {
        lock = std::make_unique<NoLock>();
        return {};
    }

private:
    class NoLock : public platform::FileLock {
    public:
        bool IsHeld() const override { return false; }
    };
};

void SaveRecords(platform::FileSystem& files, const std::filesystem::path& path,
    const std::vector<AccountRecord>& records, const platform::FileLock& lock)
{
    SafeSave(
        files, path,
        [&](CFile& file) {
            CArchive archive(file, CArchive::store);
            StoreRecords(archive, records, kPassPhrase);
            archive.Close();
        },
        SavedPermissions::keepOld, lock);
}

// The desktop program's Save of an existing file: the writers' lock, the check that the file is
// the one the document read, and the safe save under the lock, which clears the leftovers of
// killed saves and locks the new file before its rename. Its peer is the same safe save with
// neither the lock nor the check.
void BM_SafeSaveLockedAndChecked(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<AccountRecord> records = bench::GenerateRecords(count);
    const std::filesystem::path path = FileOf(count, "safe-save");
    StoreFile(path, records);
    platform::PosixFileSystem files;
    UnlockedFileSystem unlocked;

    platform::FileIdentity remembered;
    const bench::PairedTimes times = bench::TimePaired(
        state,
        [&] {
            const std::unique_ptr<platform::FileLock> lock = LockForWriting(files, path);
            platform::FileIdentity current;
            files.Identify(path, current);
            benchmark::DoNotOptimize(current == remembered);
            SaveRecords(files, path, records, *lock);
        },
        [&] {
            std::unique_ptr<platform::FileLock> lock;
            unlocked.LockForWriting(path, lock);
            SaveRecords(unlocked, path, records, *lock);
        },
        [&] {
            files.Identify(path, remembered);
            SettleAllocator();
        });
    state.counters["unlocked_ms"] = times.peer * 1e3 / static_cast<double>(state.iterations());
    state.counters["vs_unlocked"] = times.ours / times.peer;
}
BENCHMARK(BM_SafeSaveLockedAndChecked)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

// What the lock and the check add to a save, alone: the lock taken and given back, the file's
// identity read, the folder searched for leftovers, and the new file's lock before its rename.
void BM_WritersLockAndCheck(benchmark::State& state)
{
    const std::filesystem::path path = FileOf(1, "lock");
    const std::filesystem::path fresh = FileOf(2, "lock");
    StoreFile(path, bench::GenerateRecords(1));
    StoreFile(fresh, bench::GenerateRecords(1));
    platform::PosixFileSystem files;
    for (auto _ : state) {
        const std::unique_ptr<platform::FileLock> lock = LockForWriting(files, path);
        platform::FileIdentity current;
        files.Identify(path, current);
        files.RemoveLeftOverTemporaries(path);
        const std::unique_ptr<platform::FileLock> newFileLock = LockForWriting(files, fresh);
        benchmark::DoNotOptimize(current);
    }
}
BENCHMARK(BM_WritersLockAndCheck)->Unit(benchmark::kMicrosecond);

// The same five texts in a record that frees them as they are, without wiping them first.
struct PlainRecord {
    std::string account;
    std::string url;
    std::string user;
    std::string password;
    std::string notes;
};

// What closing a document costs its records: each wipes its texts as it is destroyed (and in
// sekreta_bench_wiping every freed block is wiped once more), beside the same texts freed as
// they are.
void BM_ReleaseRecords(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::vector<AccountRecord> generated = bench::GenerateRecords(count);
    std::vector<PlainRecord> plainGenerated;
    plainGenerated.reserve(count);
    for (const AccountRecord& record : generated)
        plainGenerated.push_back({record.account, record.url, record.user, record.password, record.notes});

    std::vector<AccountRecord> records;
    std::vector<PlainRecord> plain;
    const bench::PairedTimes times = bench::TimePaired(
        state, [&] { records = {}; }, [&] { plain = {}; },
        [&] {
            records = generated;
            plain = plainGenerated;
            SettleAllocator();
        });
    state.counters["plain_ms"] = times.peer * 1e3 / static_cast<double>(state.iterations());
    state.counters["vs_plain"] = times.ours / times.peer;
}
BENCHMARK(BM_ReleaseRecords)->Arg(1000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

std::vector<std::uint8_t> StoreToMemory(const std::vector<AccountRecord>& records)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    StoreRecords(archive, records, kPassPhrase);
    archive.Close();
    return file.Detach();
}

// A 40-byte file whose region claims 2 GB, and one whose only record claims a 4 GB field:
// both must fail at once, allocating next to nothing.
void LoadHostile(benchmark::State& state, const std::vector<std::uint8_t>& file)
{
    std::size_t largest = 0;
    for (auto _ : state) {
        CMemFile memory(file);
        bench::AllocationCounter counter;
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

// A 1 MB file whose count claims nearly 200,000 records, as many as its bytes could hold were
// they all empty, while they are 1,000 records of 1,000 bytes: the room made for records ahead of
// reading them must stay within the bytes there are, not 160 bytes a claimed record.
void BM_LoadHostileCount(benchmark::State& state)
{
    std::vector<AccountRecord> records(1000,
        {std::string(196, 'a'), std::string(196, 'u'), std::string(196, 'n'), std::string(196, 'p'),
            std::string(196, 'o')});
    std::vector<std::uint8_t> file = StoreToMemory(records);
    // The count is the first Int32 after the signature of the image: decrypt, change, encrypt.
    std::span<std::uint8_t> region(file.data() + kHeaderSize, file.size() - kHeaderSize);
    DecryptBuffer(kPassPhrase, region);
    const auto claimed = static_cast<std::int32_t>((region.size() - 12) / 5);
    std::memcpy(region.data() + 8, &claimed, sizeof claimed);
    EncryptBuffer(kPassPhrase, region);
    state.counters["file_bytes"] = static_cast<double>(file.size());
    LoadHostile(state, file);
}
BENCHMARK(BM_LoadHostileCount);

}  // namespace
}  // namespace sekreta
