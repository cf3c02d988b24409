#include "storage/RecordFile.h"

#include "framework/CArchiveException.h"
#include "framework/CMemFile.h"
#include "storage/BufferCipher.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

namespace sekreta {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kPassPhrase = "correct horse";

Bytes Int32(std::int32_t value)
{
    const auto word = static_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
        static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Text(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

const Bytes kSignature = Concat({{7}, Text("Sekreta")});

Bytes Store(const std::vector<AccountRecord>& records, std::string_view passPhrase = kPassPhrase)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    StoreRecords(archive, records, passPhrase);
    archive.Close();
    return file.Detach();
}

// A file around a hand-made image: the image is padded and encrypted, the header written plainly.
Bytes FileAround(Bytes image, std::string_view passPhrase = kPassPhrase)
{
    image.resize((image.size() + 7) / 8 * 8, 0);
    EncryptBuffer(passPhrase, image);
    return Concat({kSignature, Int32(1), Int32(static_cast<std::int32_t>(image.size())), image});
}

Bytes DecryptedRegion(const Bytes& file, std::string_view passPhrase = kPassPhrase)
{
    Bytes region(file.begin() + 16, file.end());
    DecryptBuffer(passPhrase, region);
    return region;
}

std::vector<AccountRecord> Load(Bytes file, std::string_view passPhrase = kPassPhrase)
{
    CMemFile memory(std::move(file));
    CArchive archive(memory, CArchive::load);
    std::vector<AccountRecord> records;
    LoadRecords(archive, records, passPhrase);
    return records;
}

// The archive failure's cause, or none when the file loads.
int LoadCause(Bytes file, std::string_view passPhrase = kPassPhrase)
{
    try {
        Load(std::move(file), passPhrase);
    } catch (const CArchiveException& failure) {
        return failure.m_cause;
    }
    return CArchiveException::none;
}

TEST(RecordFile, AnEmptyStoreIsThirtyTwoBytes)
{
    const Bytes file = Store({});
    ASSERT_EQ(file.size(), 32u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16), Concat({kSignature, {1, 0, 0, 0}, {0x10, 0, 0, 0}}));
    EXPECT_EQ(DecryptedRegion(file), Concat({kSignature, {0, 0, 0, 0}, {0, 0, 0, 0}}));
    EXPECT_TRUE(Load(file).empty());
}

TEST(RecordFile, OneRecordWithAccountAIsFortyBytes)
{
    const Bytes file = Store({{"a", "", "", "", ""}});
    ASSERT_EQ(file.size(), 40u);
    EXPECT_EQ(Bytes(file.begin() + 12, file.begin() + 16), Int32(24));
    EXPECT_EQ(DecryptedRegion(file), Concat({kSignature, Int32(1), {1, 'a', 0, 0, 0, 0}, Bytes(6, 0)}));
}

TEST(RecordFile, AnImageFillingWholeBlocksGetsNoPadding)
{
    // 12 bytes of signature and count, 8 for "abcdefg" with its prefix, 4 empty texts: 24.
    const Bytes file = Store({{"abcdefg", "", "", "", ""}});
    EXPECT_EQ(file.size(), 16u + 24u);
    EXPECT_EQ(DecryptedRegion(file), Concat({kSignature, Int32(1), {7}, Text("abcdefg"), {0, 0, 0, 0}}));
}

TEST(RecordFile, FieldsCarryTheShortestLengthPrefix)
{
    const std::pair<std::size_t, Bytes> cases[] = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const auto& [length, prefix] : cases) {
        const AccountRecord record {std::string(length, 'p'), "", "", "", ""};
        const Bytes region = DecryptedRegion(Store({record}));
        EXPECT_EQ(Bytes(region.begin() + 12, region.begin() + 12 + static_cast<std::ptrdiff_t>(prefix.size())), prefix)
            << length << " bytes";
        EXPECT_EQ(Load(Store({record})), std::vector<AccountRecord> {record});
    }
}

TEST(RecordFile, StoresEveryByteAndTheSameStoreTwiceGivesTheSameFile)
{
    std::mt19937 random(7);
    std::vector<AccountRecord> records(50);
    for (AccountRecord& record : records) {
        for (std::string* field : {&record.account, &record.url, &record.user, &record.password, &record.notes}) {
            field->resize(random() % 300);
            for (char& c : *field)
                c = static_cast<char>(random());
        }
    }
    records.push_back(records.front());
    records.push_back({});

    const Bytes file = Store(records);
    EXPECT_EQ(Store(records), file);
    EXPECT_EQ(Load(file), records);
}

TEST(RecordFile, AWrongPassPhraseIsRefusedAtTheInnerSignature)
{
    // In a long region the wrong key's first length byte falls inside the data, so the
    // signature comparison is what refuses it.
    const Bytes file = Store({{"a", "b", "c", "d", std::string(2000, 'n')}});
    for (const std::string_view wrong : {"correct horsE", "correct horse ", "correct  horse", "correct horse!"})
        EXPECT_EQ(LoadCause(file, wrong), CArchiveException::badIndex) << wrong;
    // In a short one it claims more than the region holds.
    EXPECT_EQ(LoadCause(Store({{"a", "b", "c", "d", "e"}}), "wrong"), CArchiveException::endOfFile);
}

TEST(RecordFile, ADamagedOuterSignatureIsRefused)
{
    const Bytes good = Store({});
    for (std::size_t letter = 1; letter <= 7; ++letter) {
        for (const std::uint8_t replacement : {std::uint8_t('X'), std::uint8_t(good[letter] ^ 0x20)}) {
            Bytes file = good;
            file[letter] = replacement;
            EXPECT_EQ(LoadCause(file), CArchiveException::badIndex) << "letter " << letter;
        }
    }
    Bytes shorter = Concat({{6}, Text("Sekret"), Bytes(good.begin() + 8, good.end())});
    EXPECT_EQ(LoadCause(shorter), CArchiveException::badIndex);
}

TEST(RecordFile, TheSignatureEndsAtItsFirstZeroByte)
{
    const Bytes file = Store({{"a", "", "", "", ""}});
    const Bytes padded = Concat({{9}, Text("Sekreta"), {0, '!'}, Bytes(file.begin() + 8, file.end())});
    EXPECT_EQ(Load(padded).size(), 1u);
}

TEST(RecordFile, AnotherVersionIsRefused)
{
    for (const std::int32_t version : {0, 2, -1}) {
        Bytes file = Store({});
        const Bytes versionBytes = Int32(version);
        std::copy(versionBytes.begin(), versionBytes.end(), file.begin() + 8);
        EXPECT_EQ(LoadCause(file), CArchiveException::badIndex) << "version " << version;
    }
}

TEST(RecordFile, ShortDataEndsWithEndOfFile)
{
    const Bytes file = Store({{"account", "url", "user", "password", "notes"}});
    EXPECT_EQ(LoadCause(Bytes(file.begin(), file.end() - 8)), CArchiveException::endOfFile) << "truncated region";
    EXPECT_EQ(LoadCause(Bytes(file.begin(), file.begin() + 14)), CArchiveException::endOfFile) << "truncated header";
    EXPECT_EQ(LoadCause({}), CArchiveException::endOfFile) << "no bytes";

    const Bytes cutRecord = Concat({kSignature, Int32(2), {1, 'a', 0, 0, 0, 0}, {3, 'b', 'c'}});
    EXPECT_EQ(LoadCause(FileAround(cutRecord)), CArchiveException::endOfFile) << "record cut in the middle";
}

TEST(RecordFile, ACountOfZeroOrLessGivesAnEmptyStore)
{
    for (const std::int32_t count : {0, -1, INT_MIN}) {
        const Bytes image = Concat({kSignature, Int32(count), {1, 'a', 0, 0, 0, 0}});
        EXPECT_TRUE(Load(FileAround(image)).empty()) << "count " << count;
    }
}

TEST(RecordFile, BytesAfterTheRegionAreIgnored)
{
    const std::vector<AccountRecord> records = {{"a", "b", "c", "d", "e"}};
    EXPECT_EQ(Load(Concat({Store(records), Text("trailing bytes")})), records);
}

TEST(RecordFile, AWideFieldArrivesAsUtf8)
{
    const Bytes wideUser = {0xFF, 0xFE, 0xFF, 3, 'J', 0, 0xF6, 0x00, 'r', 0};
    const Bytes image = Concat({kSignature, Int32(1), {1, 'a', 0}, wideUser, {0, 0}});
    const std::vector<AccountRecord> records = Load(FileAround(image));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].user, "J\xC3\xB6r");
}

TEST(RecordFile, ImpossibleRegionLengthsAreABadFormat)
{
    for (const std::int32_t length : {-8, -1, 0, 12, 17, INT_MIN}) {
        Bytes file = Store({});
        const Bytes lengthBytes = Int32(length);
        std::copy(lengthBytes.begin(), lengthBytes.end(), file.begin() + 12);
        EXPECT_EQ(LoadCause(file), CArchiveException::badIndex) << "length " << length;
    }
}

TEST(RecordFile, LengthsLargerThanTheDataEndWithEndOfFile)
{
    Bytes region = Store({});
    const Bytes huge = Int32(INT_MAX - 7);
    std::copy(huge.begin(), huge.end(), region.begin() + 12);
    EXPECT_EQ(LoadCause(region), CArchiveException::endOfFile) << "region length";

    const Bytes hugeSignature = Concat({{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, Bytes(33, 'S')});
    EXPECT_EQ(hugeSignature.size(), 40u);
    EXPECT_EQ(LoadCause(hugeSignature), CArchiveException::endOfFile) << "outer signature";

    EXPECT_EQ(LoadCause(FileAround(Concat({kSignature, Int32(INT_MAX)}))), CArchiveException::endOfFile)
        << "record count";
    const Bytes hugeField = Concat({kSignature, Int32(1), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}});
    EXPECT_EQ(LoadCause(FileAround(hugeField)), CArchiveException::endOfFile) << "field";
}

TEST(RecordFile, AFileIsNeverWrittenWithoutAPassPhrase)
{
    EXPECT_THROW(Store({{"a", "", "", "", ""}}, ""), std::invalid_argument);
}

// Windows keeps a typed "Grüße €" as the bytes 47 72 FC DF 65 20 80; here it is typed in UTF-8.
TEST(RecordFile, AFileWrittenOnWindowsOpensUnderThePhraseTypedHereAndSaysWhichFormOpenedIt)
{
    const std::string windowsBytes = "Gr\xFC\xDF"
                                     "e \x80";
    const std::string typedHere = "Grüße €";
    const Bytes file = Store({{"Bank", "", "me", "pw", ""}}, windowsBytes);

    CMemFile memory(file);
    CArchive archive(memory, CArchive::load);
    std::vector<AccountRecord> records;
    EXPECT_EQ(LoadRecords(archive, records, typedHere), windowsBytes);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].account, "Bank");
}

TEST(RecordFile, APhraseThatOpensTheFileAsTypedIsKeptAsTyped)
{
    const std::string typedHere = "Grüße €";
    CMemFile memory(Store({{"Bank", "", "", "", ""}}, typedHere));
    CArchive archive(memory, CArchive::load);
    std::vector<AccountRecord> records;
    EXPECT_EQ(LoadRecords(archive, records, typedHere), typedHere);
}

// Decrypted under a wrong key, the signature's length byte is noise: the read ends either at
// the signature or past the data, and the desktop says "Unexpected file format." for both.
TEST(RecordFile, AWrongPhraseStaysWrongInEitherForm)
{
    const Bytes file = Store({{"Bank", "", "", "", ""}},
        "Gr\xFC\xDF"
        "e \x80");
    for (const char* wrong : {"Grüsse €", "Grüße ✓"}) {
        const int cause = LoadCause(file, wrong);
        EXPECT_TRUE(cause == CArchiveException::badIndex || cause == CArchiveException::endOfFile) << wrong;
    }
}

// The length prefix as the format's table gives it, written here without the archive.
Bytes Prefix(std::size_t length)
{
    if (length < 255)
        return {static_cast<std::uint8_t>(length)};
    if (length < 65534)
        return {0xFF, static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8)};
    return Concat({{0xFF, 0xFF, 0xFF}, Int32(static_cast<std::int32_t>(length))});
}

Bytes ImageOf(const std::vector<AccountRecord>& records)
{
    Bytes image = Concat({kSignature, Int32(static_cast<std::int32_t>(records.size()))});
    for (const AccountRecord& record : records) {
        for (const std::string* field : {&record.account, &record.url, &record.user, &record.password, &record.notes}) {
            const Bytes prefix = Prefix(field->size());
            image.insert(image.end(), prefix.begin(), prefix.end());
            image.insert(image.end(), field->begin(), field->end());
        }
    }
    image.resize((image.size() + 7) / 8 * 8, 0);
    return image;
}

// Thousands of records, and fields long enough to pass the reader's and writer's pieces in one
// step: the file must still be the format's bytes exactly, and read back whole.
std::vector<AccountRecord> ManyRecords()
{
    std::mt19937 random(11);
    std::vector<AccountRecord> records(3000);
    for (AccountRecord& record : records) {
        for (std::string* field : {&record.account, &record.url, &record.user, &record.password, &record.notes}) {
            field->resize(random() % 300);
            for (char& c : *field)
                c = static_cast<char>(random());
        }
    }
    records[5].notes = std::string(65534, 'n');
    records[1000].url = std::string(70001, 'u');
    records[2999].password = std::string(200000, 'p');
    return records;
}

TEST(RecordFile, AFileOfManyPiecesIsTheFormatsBytesAndReadsBackWhole)
{
    const std::vector<AccountRecord> records = ManyRecords();
    const Bytes file = Store(records);
    const Bytes image = ImageOf(records);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
        Concat({kSignature, Int32(1), Int32(static_cast<std::int32_t>(image.size()))}));
    EXPECT_TRUE(DecryptedRegion(file) == image) << "the region differs from the format's image";
    EXPECT_TRUE(Load(file) == records);

    // However the file's own archive takes its bytes.
    for (const std::size_t bufferSize : {16U, 4099U, 65536U}) {
        CMemFile memory(file);
        CArchive archive(memory, CArchive::load, bufferSize);
        std::vector<AccountRecord> loaded;
        LoadRecords(archive, loaded, kPassPhrase);
        EXPECT_TRUE(loaded == records) << "archive buffer of " << bufferSize;
    }
}

// Either form opens a file written under the other: a held Windows form is tried in UTF-8.
TEST(RecordFile, AWindowsFileOfManyPiecesOpensUnderThePhraseTypedHere)
{
    const std::string windowsBytes = "Gr\xFC\xDF"
                                     "e \x80";
    const std::string typedHere = "Grüße €";
    const std::vector<AccountRecord> records = ManyRecords();
    for (const auto& [held, writtenWith] :
        {std::pair {typedHere, windowsBytes}, {typedHere, typedHere}, {windowsBytes, typedHere}}) {
        CMemFile memory(Store(records, writtenWith));
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> loaded;
        EXPECT_EQ(LoadRecords(archive, loaded, held), writtenWith);
        EXPECT_TRUE(loaded == records);
    }
}

// A signature text longer than the reader's pieces (zero-terminated, so it still reads as
// "Sekreta") decides the phrase as any other: the bytes read to check it are read again.
TEST(RecordFile, ALongSignatureStillDecidesWhichPhraseOpensTheFile)
{
    const std::string windowsBytes = "Gr\xFC\xDF"
                                     "e \x80";
    const std::string typedHere = "Grüße €";
    Bytes signature = Text("Sekreta");
    signature.resize(100000, 0);
    const Bytes image = Concat({Prefix(signature.size()), signature, Int32(1), {1, 'a', 0, 0, 2, 'p', 'w', 0}});
    for (const std::string& writtenWith : {windowsBytes, typedHere}) {
        CMemFile memory(FileAround(image, writtenWith));
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> records;
        EXPECT_EQ(LoadRecords(archive, records, typedHere), writtenWith);
        EXPECT_EQ(records, (std::vector<AccountRecord> {{"a", "", "", "pw", ""}}));
    }
}

TEST(RecordFile, VisitingHandsOverTheRecordsInFileOrderAndStopsWhereTheDataEnds)
{
    const std::vector<AccountRecord> records
        = {{"Bank", "https://bank.example", "me", "s3cret", "PIN"}, {"", "", "", "", ""}, {"Mail", "", "x", "y", "z"}};
    CMemFile memory(Store(records));
    CArchive archive(memory, CArchive::load);
    std::vector<AccountRecord> visited;
    EXPECT_EQ(VisitRecords(archive, kPassPhrase, [&](const AccountRecord& record) { visited.push_back(record); }),
        kPassPhrase);
    EXPECT_EQ(visited, records);

    // Two records claimed; the second's account claims 200 bytes that are not there.
    CMemFile damaged(FileAround(Concat({kSignature, Int32(2), {1, 'a', 0, 0, 0, 0, 200}})));
    CArchive damagedArchive(damaged, CArchive::load);
    std::vector<std::string> accounts;
    try {
        VisitRecords(
            damagedArchive, kPassPhrase, [&](const AccountRecord& record) { accounts.push_back(record.account); });
        ADD_FAILURE() << "the damaged file was read";
    } catch (const CArchiveException& failure) {
        EXPECT_EQ(failure.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(accounts, std::vector<std::string> {"a"});
}

}  // namespace
}  // namespace sekreta
