// Feeds arbitrary bytes to the .sek reader, as a whole file or as a decrypted region (see
// ReaderInput.h). Whatever loads must write and load back unchanged.
#include "ReaderInput.h"
#include "framework/CArchiveException.h"
#include "storage/RecordFile.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace sekreta;
    if (size == 0)
        return 0;
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    if ((data[0] & 1) != 0)
        bytes = fuzz::WrapRegion(std::move(bytes));

    std::vector<AccountRecord> records;
    try {
        CMemFile file(std::move(bytes));
        CArchive archive(file, CArchive::load);
        LoadRecords(archive, records, fuzz::kReaderPassPhrase);
    } catch (const CArchiveException&) {
        return 0;
    }

    CMemFile stored;
    CArchive writer(stored, CArchive::store);
    StoreRecords(writer, records, fuzz::kReaderPassPhrase);
    writer.Close();
    CMemFile again(stored.Detach());
    CArchive reader(again, CArchive::load);
    std::vector<AccountRecord> reloaded;
    LoadRecords(reader, reloaded, fuzz::kReaderPassPhrase);
    if (reloaded != records)
        std::abort();
    return 0;
}
