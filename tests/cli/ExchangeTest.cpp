// Export and import: what they refuse to replace, who may read what they write, and what
// comes back from a JSON export.
#include "CliFixture.h"

#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace sekreta::test {
namespace {

unsigned Mode(const std::string& path)
{
    struct stat status { };
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST_F(CliTest, ExportReplacesAnExistingFileOnlyWhenForcedAndForTheOwnerAlone)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "Bank"}, "s3cret");
    const std::string notes = Path("notes.txt");
    WriteBytes(notes, Bytes("my notes\n"));
    ASSERT_EQ(::chmod(notes.c_str(), 0644), 0);
    const std::string other = Path("other.sek");
    MakeFile(other);
    const auto otherBefore = ReadBytes(other);

    // Refused before anything is asked: no pass phrase is given.
    Fails({"export", m_file, "-o", notes}, "", 1, notes + " already exists. Use --force to replace it.");
    Fails({"export", m_file, "-o", other, "--format", "csv"}, "", 1,
        other + " already exists. Use --force to replace it.");
    EXPECT_EQ(Text(ReadBytes(notes)), "my notes\n");
    EXPECT_EQ(Mode(notes), 0644u);
    EXPECT_EQ(ReadBytes(other), otherBefore);

    EXPECT_EQ(Ok({"export", m_file, "-o", notes, "--force", "--passphrase-stdin"}), "");
    EXPECT_EQ(Text(ReadBytes(notes)), Ok({"export", m_file, "--passphrase-stdin"}));
    EXPECT_EQ(Mode(notes), 0600u) << "every password is in there in clear";

    // A new file too, whatever the umask would allow.
    const mode_t umask = ::umask(0);
    EXPECT_EQ(Ok({"export", m_file, "-o", Path("new.csv"), "--format", "csv", "--passphrase-stdin"}), "");
    ::umask(umask);
    EXPECT_EQ(Mode(Path("new.csv")), 0600u);
    EXPECT_EQ(m_folder.Entries(), (std::vector<std::string> {"new.csv", "notes.txt", "other.sek", "x.sek"}));
}

TEST_F(CliTest, ADashForTheOutputIsStandardOutput)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "Bank"}, "s3cret");
    EXPECT_EQ(Ok({"export", m_file, "-o", "-", "--format", "csv", "--passphrase-stdin"}),
        "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\r\n\"\",\"Bank\",\"\",\"s3cret\",\"\","
        "\"\"\r\n");
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"x.sek"});
}

TEST_F(CliTest, AJsonExportImportsBackByteForByte)
{
    // Windows-1252 texts (with one of the bytes it leaves undefined), UTF-8 texts, line breaks,
    // controls and quotes.
    const std::vector<AccountRecord> records = {
        {"Caf\xE9 \x80 \x81", "https://x.example/?a=\"1\"", "me\tyou", "p\xE4ss\x9D", "line 1\r\nline 2\r\n"},
        {"\xC3\xA9t\xC3\xA9", "", "", "", ""},
        {"", "", "\x1B[2J", "\x01\x7F", "\xC2\x9B lone\rCR"},
    };
    WriteRecords(m_file, records, kPhrase);
    const std::string json = Ok({"export", m_file, "--passphrase-stdin"});
    EXPECT_NE(json.find("  {\n    \"account\": \"Caf\xC3\xA9 \xE2\x82\xAC \xC2\x81\",\n"), std::string::npos) << json;
    EXPECT_NE(json.find("    \"windows-1252\": [\n      \"account\",\n      \"password\"\n    ]\n"), std::string::npos)
        << json;
    WriteBytes(Path("export.json"), Bytes(json));

    const std::string copy = Path("copy.sek");
    MakeFile(copy);
    EXPECT_EQ(Ok({"import", copy, "--from", Path("export.json"), "--format", "json", "--passphrase-stdin"}), "");
    EXPECT_EQ(ReadRecords(copy, kPhrase), records);
    EXPECT_EQ(Ok({"export", copy, "--passphrase-stdin"}), json);
}

TEST_F(CliTest, ImportOfJsonAppendsAndTakesMissingTextsAsEmpty)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "First"}, "1");
    WriteBytes(Path("in.json"),
        Bytes("\xEF\xBB\xBF[{\"account\": \"Second\", \"password\": \"2\", \"index\": 9, \"windows-1252\": []}]"));
    EXPECT_EQ(Ok({"import", m_file, "--from", Path("in.json"), "--format", "json", "--passphrase-stdin"}), "");
    EXPECT_EQ(ReadRecords(m_file, kPhrase),
        (std::vector<AccountRecord> {{"First", "", "", "1", ""}, {"Second", "", "", "2", ""}}));
}

TEST_F(CliTest, ShowJsonHasTheKeysOfTheExportAndThePasswordOnlyWhenAsked)
{
    WriteRecords(m_file, {{"Caf\xE9", "https://c.example", "me", "pw", "a\r\nb"}}, kPhrase);
    EXPECT_EQ(Ok({"show", m_file, "Caf\xC3\xA9", "--json", "--passphrase-stdin"}),
        "{\n  \"account\": \"Caf\xC3\xA9\",\n  \"url\": \"https://c.example\",\n  \"user\": \"me\",\n"
        "  \"notes\": \"a\\r\\nb\",\n  \"windows-1252\": [\n    \"account\"\n  ]\n}\n");
    const auto shown = nlohmann::json::parse(Ok({"show", m_file, "1", "--json", "-s", "--passphrase-stdin"}));
    EXPECT_EQ(shown, nlohmann::json::parse(Ok({"export", m_file, "--passphrase-stdin"}))[0]);
    EXPECT_EQ(shown["password"], "pw");
}

}  // namespace
}  // namespace sekreta::test
