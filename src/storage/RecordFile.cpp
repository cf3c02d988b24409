#include "storage/RecordFile.h"

#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"
#include "platform/TextEncoding.h"
#include "storage/BufferCipher.h"

#include <limits>
#include <stdexcept>

namespace sekreta {

namespace {

constexpr std::string_view kSignature = "Sekreta";
constexpr std::int32_t kVersion = 1;
constexpr std::size_t kBlockSize = 8;
// Five empty texts: the least room a record can take.
constexpr std::uint64_t kSmallestRecord = 5;

// The signature is compared as zero-terminated text, so bytes after a zero inside it do not count.
void CheckSignature(CArchive& archive, const std::string& fileName)
{
    const std::string signature = archive.ReadString();
    if (std::string_view(signature.c_str()) != kSignature)
        throw CArchiveException(CArchiveException::badIndex, fileName);
}

bool HasSignature(const std::vector<std::uint8_t>& region)
{
    try {
        CMemFile image(region);
        CArchive archive(image, CArchive::load);
        CheckSignature(archive, {});
        return true;
    } catch (const CArchiveException&) {
        return false;
    }
}

std::vector<std::uint8_t> BuildImage(const std::vector<AccountRecord>& records)
{
    CMemFile image;
    CArchive archive(image, CArchive::store);
    archive.WriteString(kSignature);
    archive.WriteInt32(static_cast<std::int32_t>(records.size()));
    for (const AccountRecord& record : records) {
        archive.WriteString(record.account);
        archive.WriteString(record.url);
        archive.WriteString(record.user);
        archive.WriteString(record.password);
        archive.WriteString(record.notes);
    }
    archive.Close();
    return image.Detach();
}

}  // namespace

void StoreRecords(CArchive& archive, const std::vector<AccountRecord>& records, std::string_view passPhrase)
{
    if (passPhrase.empty())
        throw std::invalid_argument("A file is never written without a pass phrase.");
    std::vector<std::uint8_t> region = BuildImage(records);
    region.resize((region.size() + kBlockSize - 1) / kBlockSize * kBlockSize, 0);
    // The header keeps the length as a signed 32-bit number; a longer region could never be read back.
    if (region.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw CArchiveException(CArchiveException::genericException, archive.GetFile().GetFilePath());
    EncryptBuffer(passPhrase, region);

    archive.WriteString(kSignature);
    archive.WriteInt32(kVersion);
    archive.WriteInt32(static_cast<std::int32_t>(region.size()));
    archive.Write(region.data(), region.size());
}

std::string LoadRecords(CArchive& archive, std::vector<AccountRecord>& records, std::string_view passPhrase)
{
    const std::string fileName = archive.GetFile().GetFilePath();
    CheckSignature(archive, fileName);
    if (archive.ReadInt32() != kVersion)
        throw CArchiveException(CArchiveException::badIndex, fileName);

    const std::int32_t regionLength = archive.ReadInt32();
    if (regionLength <= 0 || regionLength % kBlockSize != 0)
        throw CArchiveException(CArchiveException::badIndex, fileName);
    if (static_cast<std::uint64_t>(regionLength) > archive.BytesRemaining())
        throw CArchiveException(CArchiveException::endOfFile, fileName);
    std::vector<std::uint8_t> region(static_cast<std::size_t>(regionLength));
    archive.Read(region.data(), region.size());
    std::string openedWith(passPhrase);
    DecryptBuffer(openedWith, region);
    if (const std::optional<std::string> windowsForm = platform::Windows1252Form(passPhrase);
        windowsForm && !HasSignature(region)) {
        // Back to the bytes of the file, which the cipher gives exactly, then the other key.
        EncryptBuffer(openedWith, region);
        openedWith = *windowsForm;
        DecryptBuffer(openedWith, region);
    }

    CMemFile image(std::move(region));
    CArchive imageArchive(image, CArchive::load);
    CheckSignature(imageArchive, fileName);
    const std::int32_t count = imageArchive.ReadInt32();
    if (count <= 0)
        return openedWith;
    if (static_cast<std::uint64_t>(count) * kSmallestRecord > imageArchive.BytesRemaining())
        throw CArchiveException(CArchiveException::endOfFile, fileName);
    records.reserve(records.size() + static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        AccountRecord& record = records.emplace_back();
        record.account = imageArchive.ReadString();
        record.url = imageArchive.ReadString();
        record.user = imageArchive.ReadString();
        record.password = imageArchive.ReadString();
        record.notes = imageArchive.ReadString();
    }
    return openedWith;
}

}  // namespace sekreta
