// Writes the seed corpora of the fuzz targets into a folder, one subfolder per target:
//
//   sekreta_fuzz_make_corpus fuzz/corpus
//
// The .sek seeds come from our own writer (and, for the forms it never writes, from the
// archive's own pieces), the settings seeds from the settings file itself, so that every seed
// is an input the program really meets. The corpora are kept in the repository; run this again
// only when a format changes, and commit what it writes.
#include "ReaderInput.h"
#include "platform/posix/SettingsFile.h"
#include "storage/RecordFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace sekreta;
namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

void WriteSeed(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteSeed(const fs::path& folder, const std::string& name, std::string_view text)
{
    WriteSeed(folder, name, Bytes(text.begin(), text.end()));
}

Bytes WithSelector(std::uint8_t selector, const Bytes& data)
{
    Bytes input {selector};
    input.insert(input.end(), data.begin(), data.end());
    return input;
}

Bytes StoredFile(const std::vector<AccountRecord>& records)
{
    CMemFile file;
    CArchive archive(file, CArchive::store);
    StoreRecords(archive, records, fuzz::kReaderPassPhrase);
    archive.Close();
    return file.Detach();
}

// The file's region, decrypted: the image our writer made, with its padding.
Bytes RegionOf(Bytes file)
{
    constexpr std::size_t kHeader = 16;
    Bytes region(file.begin() + kHeader, file.end());
    DecryptBuffer(fuzz::kReaderPassPhrase, region);
    return region;
}

// A region built piece by piece, for the string forms our writer never uses.
class RegionBuilder {
public:
    explicit RegionBuilder(std::int32_t count)
        : m_archive(m_file, CArchive::store)
    {
        m_archive.WriteString("Sekreta");
        m_archive.WriteInt32(count);
    }

    RegionBuilder& Raw(const Bytes& bytes)
    {
        m_archive.Write(bytes.data(), bytes.size());
        return *this;
    }
    RegionBuilder& Narrow(std::string_view text) { return Raw(Bytes(text.begin(), text.end())); }
    // UTF-16 units behind the wide marker and a prefix of the given size (1, 3 or 7 bytes).
    RegionBuilder& Wide(const std::u16string& units, int prefixSize)
    {
        Bytes bytes {0xFF, 0xFE, 0xFF};
        const auto count = static_cast<std::uint32_t>(units.size());
        if (prefixSize == 1) {
            bytes.push_back(static_cast<std::uint8_t>(count));
        } else if (prefixSize == 3) {
            bytes.insert(bytes.end(), {0xFF, static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8)});
        } else {
            bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF});
            for (int shift = 0; shift < 32; shift += 8)
                bytes.push_back(static_cast<std::uint8_t>(count >> shift));
        }
        for (const char16_t unit : units) {
            bytes.push_back(static_cast<std::uint8_t>(unit));
            bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
        }
        return Raw(bytes);
    }

    Bytes Finish()
    {
        m_archive.Close();
        return m_file.Detach();
    }

private:
    CMemFile m_file;
    CArchive m_archive;
};

void WriteReaderSeeds(const fs::path& folder)
{
    const std::vector<AccountRecord> varied = {
        {"Bank", "https://bank.example/login", "me", "s3cret", "PIN 1234\r\nsecond line"},
        {"Mail", "", "me@mail.example", "pw", ""},
        {"Caf\xC3\xA9", "http://caf\xC3\xA9.example", "J\xC3\xBCrgen", "\xE2\x82\xAC uro", "UTF-8 texts"},
        {"Windows", "", "M\xFCller",
            "Gr\xFC\xDF"
            "e",
            "Windows-1252 bytes"},
        {"", "", "", "", ""},
    };
    const std::vector<std::pair<std::string, std::vector<AccountRecord>>> stores = {
        {"empty-store", {}},
        {"one-record-a", {{"a", "", "", "", ""}}},
        {"varied-records", varied},
        {"prefix-254", {{std::string(254, 'x'), "", "", "", ""}}},
        {"prefix-255", {{"", std::string(255, 'u'), "", "", ""}}},
    };
    for (const auto& [name, records] : stores) {
        const Bytes file = StoredFile(records);
        WriteSeed(folder, name + ".sek", WithSelector(fuzz::kWholeFile, file));
        WriteSeed(folder, name + ".region", WithSelector(fuzz::kRegionOnly, RegionOf(file)));
    }
    // The longest prefix, as our writer makes it: the one seed of some size, so only the file.
    WriteSeed(folder, "prefix-65534.sek",
        WithSelector(fuzz::kWholeFile, StoredFile({{"", "", "", "", std::string(65534, 'n')}})));

    // Wide texts in each prefix size, a surrogate pair and a lone surrogate; then the narrow
    // prefixes in longer forms than needed, which the reader takes as well.
    const Bytes wide = RegionBuilder(2)
                           .Wide(u"Bank", 1)
                           .Wide(u"https://b\u00e4nk.example", 3)
                           .Wide(u"\u00fcser", 7)
                           .Wide(u"\U0001F511 key", 1)
                           .Wide(std::u16string(1, u'\xD800') + u"lone", 1)
                           .Raw({0x01, 'a'})
                           .Wide(u"", 1)
                           .Raw({0xFF, 0x03, 0x00})
                           .Narrow("abc")
                           .Raw({0xFF, 0xFF, 0xFF, 0x03, 0x00, 0x00, 0x00})
                           .Narrow("def")
                           .Raw({0x00})
                           .Finish();
    WriteSeed(folder, "wide-and-long-prefixes.sek", WithSelector(fuzz::kWholeFile, fuzz::WrapRegion(wide)));
    WriteSeed(folder, "wide-and-long-prefixes.region", WithSelector(fuzz::kRegionOnly, wide));

    // A count below zero, which reads as no records, and bytes after the region, which are ignored.
    WriteSeed(folder, "negative-count.region", WithSelector(fuzz::kRegionOnly, RegionBuilder(-1).Finish()));
    Bytes trailing = StoredFile(varied);
    trailing.insert(trailing.end(), {'t', 'a', 'i', 'l'});
    WriteSeed(folder, "trailing-bytes.sek", WithSelector(fuzz::kWholeFile, trailing));
}

void WriteSettingsSeeds(const fs::path& folder)
{
    const std::string key = "software\\Local AppWizard-Generated Applications\\Sekreta\\";
    auto write = [&](const std::string& name, const auto& fill) {
        const fs::path path = folder / name;
        fs::remove(path);
        platform::SettingsFile settings(path);
        fill(settings);
    };

    // What a closed program leaves: the recent files, the placement and the bar layout.
    write("closed-program.ini", [&](platform::SettingsFile& settings) {
        settings.SetValue(key + "Recent File List", "File1", std::string("/home/me/Letters.sek"));
        settings.SetValue(key + "Recent File List", "File2", std::string("/home/me/old/Bank & Co.sek"));
        for (const auto& [entry, value] :
            {std::pair {"Status", 1u}, {"Top", 20u}, {"Left", 10u}, {"Bottom", 620u}, {"Right", 810u}})
            settings.SetValue(key + "Frame", entry, value);
        const std::vector<std::pair<std::string, std::uint32_t>> bar0 = {{"BarID", 59392}, {"Docking", 1},
            {"MRUDockID", 59419}, {"MRUDockLeftPos", 0}, {"MRUFloatXPos", 0}, {"XPos", 700}, {"Floating", 1}};
        for (const auto& [entry, value] : bar0)
            settings.SetValue(key + "General-Bar0", entry, value);
        settings.SetValue(key + "General-Bar1", "BarID", 59393u);
        settings.SetValue(key + "General-Bar1", "Visible", 0u);
        for (const auto& [entry, value] :
            {std::pair {"Bars", 3u}, {"Bar#0", 0u}, {"Bar#1", 59392u}, {"Bar#2", 0u}, {"BarID", 59419u}})
            settings.SetValue(key + "General-Bar2", entry, value);
        for (const auto& [entry, value] : {std::pair {"Bars", 3u}, {"ScreenCX", 1920u}, {"ScreenCY", 1080u}})
            settings.SetValue(key + "General-Summary", entry, value);
        settings.SetValue(key + "Settings", "PreviewPages", 2u);
    });
    // Texts that must be escaped, the largest number, a default value and an empty key.
    write("escapes.ini", [&](platform::SettingsFile& settings) {
        settings.SetValue(key + "Recent File List", "File1", std::string("/tmp/a%b\\c=d[e]\nf\x7f\x01.sek"));
        settings.SetValue(key + "Frame", "Left", 4294967295u);
        settings.SetValue(key + "Frame", "", std::string("default"));
        settings.SetValue("", "Root", 0u);
        settings.CreateKey(key + "Empty");
    });
    write("deep.ini", [&](platform::SettingsFile& settings) {
        std::string path = "a";
        for (int i = 0; i < 40; ++i)
            path += "\\k" + std::to_string(i);
        settings.SetValue(path, "Deep", std::string("value"));
    });
}

void WriteTextSeeds(const fs::path& corpus)
{
    const fs::path shell = corpus / "shell_request";
    WriteSeed(shell, "open", "[open(\"/home/me/Letters.sek\")]");
    WriteSeed(shell, "print", "[print(\"/home/me/a b/Letters.sek\")]");
    WriteSeed(shell, "printto", "[printto(\"/home/me/Letters.sek\",\"Office\",\"winspool\",\"LPT1:\")]");
    WriteSeed(shell, "unclosed", "[open(\"/home/me/Letters.sek)]");
    WriteSeed(shell, "other", "[close(\"/x\")]");

    const fs::path commandLine = corpus / "command_line";
    // The first byte chooses which names exist as files; the arguments follow, zero-separated.
    const auto arguments = [](std::initializer_list<std::string_view> list) {
        std::string text(1, '\x01');
        bool first = true;
        for (const std::string_view argument : list) {
            if (!first)
                text += '\0';
            text += argument;
            first = false;
        }
        return text;
    };
    WriteSeed(commandLine, "open", arguments({"Letters.sek"}));
    WriteSeed(commandLine, "two-names", arguments({"\"/home/me/a b.sek\"", "Other.sek"}));
    WriteSeed(commandLine, "print", arguments({"/p", "Letters.sek"}));
    WriteSeed(commandLine, "print-to", arguments({"/pt", "Letters.sek", "Office", "winspool", "LPT1:"}));
    WriteSeed(commandLine, "unregister", arguments({"-UNREGISTER", "/Unregserver"}));
    WriteSeed(commandLine, "embedded", arguments({"/dde", "-Embedding", "/automation", "x.sek"}));
    WriteSeed(commandLine, "ignored", arguments({"-P", "/x", "-"}));

    const fs::path csv = corpus / "csv_import";
    WriteSeed(csv, "keepassxc-import.csv",
        "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\r\n"
        "\"\",\"Bank\",\"me\",\"s3cret\",\"https://bank.example\",\"PIN 1234\r\nline two\"\r\n"
        "\"\",\"Quotes\",\"a \"\"b\"\"\",\"x,y\",\"\",\"\"\r\n");
    WriteSeed(csv, "keepassxc-export.csv",
        "\xEF\xBB\xBF\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
        "\"Last Modified\",\"Created\"\n"
        "\"Root\",\"Mail\",\"me@mail.example\",\"pw\",\"\",\"one\ntwo\",\"\",\"0\",\"2024-01-01T00:00:00Z\","
        "\"2024-01-01T00:00:00Z\"\n");
    WriteSeed(csv, "plain.csv", " title , password ,url\rShop,pw,https://shop.example\r\rCaf\xC3\xA9,\xE2\x82\xAC,\r");
    WriteSeed(csv, "unclosed.csv", "Title,Password\n\"Bank,pw\n");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: sekreta_fuzz_make_corpus FOLDER\n";
        return 1;
    }
    const fs::path corpus = argv[1];
    WriteReaderSeeds(corpus / "reader");
    WriteSettingsSeeds(corpus / "settings");
    WriteTextSeeds(corpus);
    return 0;
}
