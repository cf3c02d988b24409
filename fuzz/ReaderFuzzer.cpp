// Feeds arbitrary bytes to the .sek reader. An input whose first byte is odd is taken as a
// decrypted region and wrapped in a valid header under the fuzzing pass phrase, so that the
// fuzzer reaches the record parser and not only the header checks.
#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"
#include "storage/BufferCipher.h"
#include "storage/RecordFile.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::string_view kPassPhrase = "fuzz";

std::vector<std::uint8_t> WrapAsFile(std::vector<std::uint8_t> image)
{
    image.resize((image.size() + 7) / 8 * 8, 0);
    sekreta::EncryptBuffer(kPassPhrase, image);
    sekreta::CMemFile file;
    sekreta::CArchive archive(file, sekreta::CArchive::store);
    archive.WriteString("Sekreta");
    archive.WriteInt32(1);
    archive.WriteInt32(static_cast<std::int32_t>(image.size()));
    archive.Write(image.data(), image.size());
    archive.Close();
    return file.Detach();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::vector<std::uint8_t> bytes(data + 1, data + size);
    if ((data[0] & 1) != 0)
        bytes = WrapAsFile(std::move(bytes));

    std::vector<sekreta::AccountRecord> records;
    try {
        sekreta::CMemFile file(std::move(bytes));
        sekreta::CArchive archive(file, sekreta::CArchive::load);
        sekreta::LoadRecords(archive, records, kPassPhrase);
    } catch (const sekreta::CArchiveException&) {
        return 0;
    }

    // Whatever loads must write and load back unchanged.
    sekreta::CMemFile stored;
    sekreta::CArchive writer(stored, sekreta::CArchive::store);
    sekreta::StoreRecords(writer, records, kPassPhrase);
    writer.Close();
    sekreta::CMemFile again(stored.Detach());
    sekreta::CArchive reader(again, sekreta::CArchive::load);
    std::vector<sekreta::AccountRecord> reloaded;
    sekreta::LoadRecords(reader, reloaded, kPassPhrase);
    if (reloaded != records)
        std::abort();
    return 0;
}
