#include "storage/RecordFile.h"

#include "framework/CArchiveException.h"
#include "storage/DecryptingRegion.h"
#include "storage/EncryptingRegion.h"
#include "storage/PassPhraseForms.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace sekreta {

namespace {

constexpr std::string_view kSignature = "Sekreta";
constexpr std::int32_t kVersion = 1;
constexpr std::size_t kBlockSize = 8;
// Five empty texts: the least room a record can take.
constexpr std::uint64_t kSmallestRecord = 5;
// The region passes through the cipher and the parser in pieces of this size: large enough for
// few reads and for the vector kernels, small enough to stay in the cache between the two.
constexpr std::size_t kRegionBufferSize = 64 * 1024;

std::size_t RegionBufferSize(std::uint64_t regionLength)
{
    return static_cast<std::size_t>(std::min<std::uint64_t>(regionLength, kRegionBufferSize));
}

// The signature is compared as zero-terminated text, so bytes after a zero inside it do not count.
void CheckSignature(CArchive& archive, const std::string& fileName)
{
    const std::string signature = archive.ReadString();
    if (std::string_view(signature.c_str()) != kSignature)
        throw CArchiveException(CArchiveException::badIndex, fileName);
}

bool HasSignature(CFile& region)
{
    try {
        CArchive archive(region, CArchive::load);
        CheckSignature(archive, {});
        return true;
    } catch (const CArchiveException&) {
        return false;
    }
}

// The length of the plain image that WriteImage writes, before padding.
std::uint64_t ImageLength(const std::vector<AccountRecord>& records)
{
    std::uint64_t length = CArchive::StoredSize(kSignature) + sizeof(std::int32_t);
    for (const AccountRecord& record : records) {
        for (const std::string* field : {&record.account, &record.url, &record.user, &record.password, &record.notes})
            length += CArchive::StoredSize(*field);
    }
    return length;
}

void WriteImage(CArchive& image, const std::vector<AccountRecord>& records)
{
    image.WriteString(kSignature);
    image.WriteInt32(static_cast<std::int32_t>(records.size()));
    for (const AccountRecord& record : records) {
        image.WriteString(record.account);
        image.WriteString(record.url);
        image.WriteString(record.user);
        image.WriteString(record.password);
        image.WriteString(record.notes);
    }
}

}  // namespace

void StoreRecords(CArchive& archive, const std::vector<AccountRecord>& records, std::string_view passPhrase)
{
    if (passPhrase.empty())
        throw std::invalid_argument("A file is never written without a pass phrase.");
    const std::uint64_t regionLength = (ImageLength(records) + kBlockSize - 1) / kBlockSize * kBlockSize;
    // The header keeps the length as a signed 32-bit number; a longer region could never be read back.
    if (regionLength > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        throw CArchiveException(CArchiveException::genericException, archive.GetFile().GetFilePath());

    archive.WriteString(kSignature);
    archive.WriteInt32(kVersion);
    archive.WriteInt32(static_cast<std::int32_t>(regionLength));
    EncryptingRegion region(archive, regionLength, passPhrase);
    CArchive image(region, CArchive::store, RegionBufferSize(regionLength));
    WriteImage(image, records);
    image.Close();
    region.Close();
}

namespace {

// Reads the file's records one at a time. `begin` hears the record count the file claims and
// the bytes left to bear it out before the first record; `take` gets each record, and may move
// its texts away. Returns the pass phrase that opened the file.
template <typename Begin, typename Take>
std::string ReadRecords(CArchive& archive, std::string_view passPhrase, Begin begin, Take take)
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

    DecryptingRegion region(archive, static_cast<std::uint64_t>(regionLength), passPhrase);
    std::string openedWith(passPhrase);
    if (const std::optional<std::string> otherForm = OtherPassPhraseForm(passPhrase)) {
        region.KeepForRewind();
        if (!HasSignature(region))
            openedWith = *otherForm;
        region.Rewind(openedWith);
    }

    CArchive image(region, CArchive::load, RegionBufferSize(static_cast<std::uint64_t>(regionLength)));
    CheckSignature(image, fileName);
    const std::int32_t count = image.ReadInt32();
    if (count <= 0)
        return openedWith;
    const std::uint64_t remaining = image.BytesRemaining();
    if (static_cast<std::uint64_t>(count) * kSmallestRecord > remaining)
        throw CArchiveException(CArchiveException::endOfFile, fileName);
    begin(count, remaining);
    AccountRecord record;
    for (std::int32_t i = 0; i < count; ++i) {
        record.account = image.ReadString();
        record.url = image.ReadString();
        record.user = image.ReadString();
        record.password = image.ReadString();
        record.notes = image.ReadString();
        take(record);
    }
    return openedWith;
}

}  // namespace

std::string LoadRecords(CArchive& archive, std::vector<AccountRecord>& records, std::string_view passPhrase)
{
    return ReadRecords(
        archive, passPhrase,
        [&records](std::int32_t count, std::uint64_t remaining) {
            // Room for as many records as the count says, but never more memory than the bytes
            // that are left: a count that the data does not bear out ends in the end-of-file failure.
            records.reserve(records.size()
                + static_cast<std::size_t>(std::min<std::uint64_t>(count, remaining / sizeof(AccountRecord))));
        },
        [&records](AccountRecord& record) { records.push_back(std::move(record)); });
}

std::string VisitRecords(
    CArchive& archive, std::string_view passPhrase, const std::function<void(const AccountRecord&)>& visit)
{
    return ReadRecords(
        archive, passPhrase, [](std::int32_t, std::uint64_t) {},
        [&visit](const AccountRecord& record) { visit(record); });
}

}  // namespace sekreta
