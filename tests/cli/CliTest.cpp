#include "CliFixture.h"
#include "generator/PasswordRules.h"
#include "storage/BufferCipher.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace sekreta::test {
namespace {

// Replaces %D by the folder and %F by the test's file.
std::string Expand(std::string text, const TemporaryFolder& folder)
{
    for (const auto& [mark, value] : {std::pair {std::string("%F"), (folder / "x.sek").string()},
             std::pair {std::string("%D"), folder.Path().string()}}) {
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    }
    return text;
}

TEST_F(CliTest, EntriesGoThroughAddShowEditAndRemove)
{
    MakeFile(m_file);
    EXPECT_EQ(test::ReadBytes(m_file).size(), 32u) << "an empty document";
    EXPECT_EQ(Ok({"add", m_file, "--account", "Mail", "--url", "https://mail.example", "--user", "me", "--notes",
                     "line 1\nline 2", "--passphrase-stdin", "--password-stdin"},
                  kPhrase + "\r\ns3cret\r\n"),
        "1\n");
    EXPECT_EQ(Ok({"add", m_file, "--account", "Bank", "--user", "b\tx", "--passphrase-stdin", "--generate", "--length",
                  "12", "--digits"}),
        "2\n");

    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}), "1\tMail\tme\thttps://mail.example\n2\tBank\tb x\t\n");
    EXPECT_EQ(Ok({"show", m_file, "1", "--passphrase-stdin"}),
        "Account: Mail\nURL: https://mail.example\nUser: me\nPassword: PROTECTED\nNotes: line 1\nline 2\n");
    EXPECT_EQ(Ok({"show", m_file, "1", "--show-password", "--passphrase-stdin"}),
        "Account: Mail\nURL: https://mail.example\nUser: me\nPassword: s3cret\nNotes: line 1\nline 2\n");
    EXPECT_EQ(Ok({"show", m_file, "1", "--field", "notes", "--passphrase-stdin"}), "line 1\r\nline 2\n");
    const std::string generated = Ok({"show", m_file, "2", "--field", "password", "--passphrase-stdin"});
    EXPECT_EQ(BrokenGeneratorRule(generated.substr(0, generated.size() - 1), {12, false, false, true}), "");

    EXPECT_EQ(
        Ok({"edit", m_file, "1", "--url", "", "--password-stdin", "--passphrase-stdin"}, kPhrase + "\nn3w\n"), "");
    EXPECT_EQ(Ok({"show", m_file, "1", "-s", "--passphrase-stdin"}),
        "Account: Mail\nURL:\nUser: me\nPassword: n3w\nNotes: line 1\nline 2\n");
    EXPECT_EQ(Ok({"rm", m_file, "1", "--passphrase-stdin"}), "");
    EXPECT_EQ(Ok({"ls", m_file, "--json", "--passphrase-stdin"}),
        "[\n  {\n    \"index\": 1,\n    \"account\": \"Bank\",\n    \"user\": \"b\\tx\",\n    \"url\": \"\"\n  }\n]\n");
}

struct FailureCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string input;
    int status;
    std::string message;
};

void PrintTo(const FailureCase& failure, std::ostream* out)
{
    *out << failure.name;
}

class CliFailureTest : public CliTest, public testing::WithParamInterface<FailureCase> { };

TEST_P(CliFailureTest, SaysWhyAndLeavesTheFileAsItWas)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "Mail"}, "pw");
    test::WriteBytes(Path("plain.txt"), {'h', 'e', 'l', 'l', 'o'});
    // Nobody ever writes into this pipe: whatever opens it the ordinary way waits forever.
    ASSERT_EQ(::mkfifo(Path("pipe.sek").c_str(), 0600), 0);
    const auto before = test::ReadBytes(m_file);
    std::vector<std::string> arguments;
    for (const std::string& argument : GetParam().arguments)
        arguments.push_back(Expand(argument, m_folder));

    const CliResult result = RunCli(arguments, GetParam().input);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(result.err, "sekreta-cli: " + Expand(GetParam().message, m_folder) + "\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(test::ReadBytes(m_file), before);
    EXPECT_EQ(Text(test::ReadBytes(Path("plain.txt"))), "hello");
    EXPECT_TRUE(std::filesystem::is_fifo(Path("pipe.sek")));
    EXPECT_EQ(m_folder.Entries(), (std::vector<std::string> {"pipe.sek", "plain.txt", "x.sek"}));
}

const std::string kTooLong
    = "Please enter a pass phrase of at most 48 characters: the desktop program could not take a longer one.";
const std::string kNotATerminal = "Standard input is not a terminal: give the pass phrase as the first line of "
                                  "standard input with --passphrase-stdin.";

INSTANTIATE_TEST_SUITE_P(Cases, CliFailureTest,
    testing::Values(FailureCase {"WrongPassPhrase", {"ls", "%F", "--passphrase-stdin"}, "Open Sesame\n", 2,
                        "Unexpected file format."},
        FailureCase {
            "NotASekretaFile", {"ls", "%D/plain.txt", "--passphrase-stdin"}, kPhraseLine, 2, "Unexpected file format."},
        FailureCase {"MissingFile", {"show", "%D/sub/../gone.sek", "1", "--passphrase-stdin"}, kPhraseLine, 3,
            "%D/gone.sek was not found."},
        FailureCase {"Folder", {"ls", "%D", "--passphrase-stdin"}, kPhraseLine, 3, "Access to %D was denied."},
        FailureCase {"ShortPassPhrase", {"rm", "%F", "1", "--passphrase-stdin"}, "abc\n", 1,
            "Please enter a pass phrase of at least 4 characters"},
        FailureCase {"NoPassPhraseLine", {"ls", "%F", "--passphrase-stdin"}, "", 1, "No pass phrase was given."},
        FailureCase {
            "LongNewPassPhrase", {"new", "%D/new.sek", "--passphrase-stdin"}, std::string(49, 'p') + "\n", 1, kTooLong},
        FailureCase {"LongChangedPassPhrase", {"passwd", "%F", "--passphrase-stdin"},
            kPhraseLine + std::string(49, 'p') + "\n", 1, kTooLong},
        FailureCase {"NoTerminal", {"ls", "%F"}, kPhraseLine, 1, kNotATerminal},
        FailureCase {"NoPasswordLine", {"add", "%F", "--account", "a", "--password-stdin", "--passphrase-stdin"},
            kPhraseLine, 1, "No password was given."},
        FailureCase {
            "NoNewPassPhrase", {"passwd", "%F", "--passphrase-stdin"}, kPhraseLine, 1, "No pass phrase was given."},
        FailureCase {"EntryPastTheEnd", {"show", "%F", "2", "--passphrase-stdin"}, kPhraseLine, 1,
            "There is no entry 2: the file has 1 entry."},
        FailureCase {"EntryZero", {"rm", "%F", "0", "--passphrase-stdin"}, kPhraseLine, 1,
            "There is no entry 0: the file has 1 entry."},
        FailureCase {"NoEntryOfThatName", {"edit", "%F", "Bank", "--account", "a", "--passphrase-stdin"}, kPhraseLine,
            1, "There is no entry named \"Bank\"."},
        FailureCase {"EntryNumberTooLarge", {"show", "%F", "99999999999999999999999", "--passphrase-stdin"},
            kPhraseLine, 1, "There is no entry 99999999999999999999999: the file has 1 entry."},
        FailureCase {"NamedPipe", {"ls", "%D/pipe.sek", "--passphrase-stdin"}, kPhraseLine, 3,
            "Access to %D/pipe.sek was denied."},
        FailureCase {
            "Device", {"ls", "/dev/null", "--passphrase-stdin"}, kPhraseLine, 3, "Access to /dev/null was denied."},
        FailureCase {"ExportOntoAPipe", {"export", "%F", "-o", "%D/pipe.sek", "--force", "--passphrase-stdin"},
            kPhraseLine, 3, "Access to %D/pipe.sek was denied."},
        FailureCase {"ExportOverAFile", {"export", "%F", "-o", "%D/plain.txt", "--passphrase-stdin"}, kPhraseLine, 1,
            "%D/plain.txt already exists. Use --force to replace it."},
        FailureCase {"ImportFromStandardInputWithThePassPhrase", {"import", "%F", "--from", "-", "--passphrase-stdin"},
            kPhraseLine + "Title,Password\n", 1,
            "--from - and --passphrase-stdin both want standard input: give the entries in a file, or type the "
            "pass phrase on the terminal."},
        FailureCase {
            "UnknownHelp", {"help", "lss"}, "", 1, "There is no command \"lss\"; sekreta-cli help lists them."},
        FailureCase {"NewOverAFile", {"new", "%F", "--passphrase-stdin"}, kPhraseLine, 1,
            "%F already exists. Use --force to replace it."},
        FailureCase {
            "AddWithoutPassword", {"add", "%F", "--account", "a"}, "", 1, "add needs --password-stdin or --generate."},
        FailureCase {"EditNothing", {"edit", "%F", "1", "--passphrase-stdin"}, kPhraseLine, 1,
            "Nothing to change: give --account, --url, --user, --notes, --password-stdin or --generate."},
        FailureCase {"GeneratedTooShort", {"add", "%F", "--account", "a", "--generate", "--length", "3"}, "", 1,
            "Please enter an integer between 4 and 128."},
        FailureCase {
            "LengthTooLong", {"generate", "--length", "129"}, "", 1, "Please enter an integer between 4 and 128."},
        FailureCase {"LengthHexadecimal", {"generate", "--length", "0x10"}, "", 1, "Please enter a positive integer."},
        FailureCase {"LengthNegative", {"generate", "--length", "-8"}, "", 1, "Please enter a positive integer."},
        FailureCase {
            "NoPasswords", {"generate", "--count", "0"}, "", 1, "Please enter an integer between 1 and 1000000."},
        FailureCase {
            "ExportOverItself", {"export", "%F", "-o", "%D/./x.sek"}, "", 1, "The export would replace %F itself."},
        FailureCase {"MissingCsv", {"import", "%F", "--from", "%D/none.csv"}, "", 3, "%D/none.csv was not found."},
        FailureCase {"UnknownField", {"show", "%F", "1", "--field", "pin"}, "", 1,
            "--field: pin not in {account,url,user,password,notes}\nRun with --help for more information."},
        FailureCase {"NoCommand", {}, "", 1, "A subcommand is required\nRun with --help for more information."}),
    [](const testing::TestParamInfo<FailureCase>& testInfo) { return testInfo.param.name; });

struct ImportFailure {
    const char* name;
    const char* format;
    std::string text;
    std::string message;  // after "sekreta-cli: in.csv: "
};

void PrintTo(const ImportFailure& failure, std::ostream* out)
{
    *out << failure.name;
}

class ImportFailureTest : public CliTest, public testing::WithParamInterface<ImportFailure> { };

TEST_P(ImportFailureTest, RefusesTheInputAndWritesNothing)
{
    MakeFile(m_file);
    const auto before = test::ReadBytes(m_file);
    test::WriteBytes(Path("in.csv"), Bytes(GetParam().text));
    // Nothing is asked before the input is found wrong: no pass phrase is given here.
    Fails({"import", m_file, "--from", Path("in.csv"), "--format", GetParam().format}, "", 1,
        Path("in.csv") + ": " + GetParam().message);
    EXPECT_EQ(test::ReadBytes(m_file), before);
    Fails({"import", m_file, "--from", "-", "--format", GetParam().format}, GetParam().text, 1,
        "standard input: " + GetParam().message);
    EXPECT_EQ(test::ReadBytes(m_file), before);
}

INSTANTIATE_TEST_SUITE_P(Malformed, ImportFailureTest,
    testing::Values(ImportFailure {"Empty", "csv", "", "the header row is missing."},
        ImportFailure {"NoTitle", "csv", "Name,Password\nx,y\n", "the header row, line 1, has no \"Title\" column."},
        ImportFailure {"NoPassword", "csv", "\r\nTitle, Username\nx,y\n",
            "the header row, line 2, has no \"Password\" column."},
        ImportFailure {"NoHeaderRow", "csv", "Bank,me,s3cr3t-pw\na,b,c\n",
            "the header row, line 1, has no \"Title\" and no \"Password\" column."},
        ImportFailure {"QuotedFieldNotClosed", "csv", "Title,Notes\n\"a\",\"x\ny\"\n\"b,c\n",
            "line 4: a quoted field is not closed."},
        ImportFailure {
            "TextAfterAClosingQuote", "csv", "Title,Notes\n\"a\"b,c\n", "line 2: a closing quote must end its field."},
        ImportFailure {"ShortRow", "csv", "Title,Password\na,b\nc\n", "line 3 has 1 field where the header row has 2."},
        ImportFailure {"ListingInsteadOfExport", "json",
            "[{\"index\": 1, \"account\": \"a\", \"user\": \"\", \"url\": \"\"}]", "entry 1 has no \"password\"."},
        ImportFailure {
            "NotAList", "json", "{\"account\": \"a\", \"password\": \"p\"}", "the JSON is not a list of entries."},
        ImportFailure {
            "NotAnObject", "json", "[{\"account\": \"a\", \"password\": \"p\"}, 2]", "entry 2 is not an object."},
        ImportFailure {
            "NumberForAText", "json", "[{\"account\": 7, \"password\": \"p\"}]", "entry 1: \"account\" is not a text."},
        ImportFailure {"MarkNotAList", "json",
            "[{\"account\": \"a\", \"password\": \"p\", \"windows-1252\": \"account\"}]",
            "entry 1: \"windows-1252\" is not a list of field names."},
        ImportFailure {"NotWindows1252", "json",
            "[{\"account\": \"\u4e2d\", \"password\": \"p\", \"windows-1252\": [\"account\"]}]",
            "entry 1: \"account\" has characters that Windows-1252 lacks."},
        ImportFailure {"CutShort", "json", "[{\"account\": \"a\"", "this is not JSON (byte 17)."},
        // Found by fuzzing: the parser's own failure for a huge number ended the program.
        ImportFailure {
            "HugeNumber", "json", "[{\"account\": 1e999999999}]", "this JSON holds a number too large to read."},
        ImportFailure {
            "NotUtf8", "json", "[{\"account\": \"\xE9t\xE9\", \"password\": \"\"}]", "this is not JSON (byte 16)."}),
    [](const testing::TestParamInfo<ImportFailure>& testInfo) { return testInfo.param.name; });

TEST_F(CliTest, HelpOnTheProgramAndEveryCommand)
{
    const std::string passPhraseNote = "The pass phrase is asked on the terminal without echo, or read from the first "
                                       "line of\nstandard input with --passphrase-stdin; it is never taken from the "
                                       "command line.";
    for (const std::string command :
        {"", "new", "ls", "show", "search", "add", "edit", "rm", "passwd", "generate", "export", "import", "help"}) {
        std::vector<std::string> arguments = {"--help"};
        if (!command.empty())
            arguments.insert(arguments.begin(), command);
        const std::string out = Ok(arguments, "");
        EXPECT_NE(
            out.find("Usage: sekreta-cli " + (command.empty() ? "[OPTIONS] SUBCOMMAND" : command)), std::string::npos)
            << out;
        EXPECT_TRUE(out.ends_with("\n\nExit status: 0 success; 1 usage or input error; 2 not a Sekreta file, or a "
                                  "wrong pass phrase;\n3 a file could not be read or written, or another program "
                                  "was changing it (or the system failed).\n"))
            << out;
        const bool readsAFile = command != "" && command != "generate" && command != "help";
        EXPECT_EQ(out.find(passPhraseNote) != std::string::npos, readsAFile) << out;
        EXPECT_EQ(Ok({"help", command}, ""), out) << "help " << command;
    }
    EXPECT_EQ(Ok({"help"}, ""), Ok({"--help"}, ""));
}

TEST_F(CliTest, VersionIsTheProgramsNameAndNumber)
{
    EXPECT_EQ(Ok({"--version"}, ""), "sekreta-cli " SEKRETA_VERSION "\n");
}

TEST_F(CliTest, EveryMessageNamesTheProgram)
{
    Fails({"ls"}, "", 1, "FILE is required\nRun with --help for more information.");
    Fails({"show", m_file, "1", "--json", "--field", "url"}, "", 1,
        "--field excludes --json\nRun with --help for more information.");
    Fails({"generate", "--length", "x"}, "", 1, "Please enter a positive integer.");
    Fails({"ls", Path("none.sek")}, "", 3, Path("none.sek") + " was not found.");
}

TEST_F(CliTest, CsvExportImportIntoANewFileAndExportAgainIsIdentical)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "Say \"hi\", then go", "--user", "a,b", "--notes", "one\ntwo, \"three\""}, "p\"w,");
    Add(m_file, {"--account", "\xE9t\xE9 \x80", "--url", "https://x.example/?a=1,2"}, "");
    const std::string csv = Ok({"export", m_file, "--format", "csv", "--passphrase-stdin"});
    EXPECT_EQ(csv,
        "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\r\n"
        "\"\",\"Say \"\"hi\"\", then go\",\"a,b\",\"p\"\"w,\",\"\",\"one\r\ntwo, \"\"three\"\"\"\r\n"
        "\"\",\"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\",\"\",\"\",\"https://x.example/?a=1,2\",\"\"\r\n");
    const std::string json = Ok({"export", m_file, "--passphrase-stdin"});
    EXPECT_EQ(json,
        "[\n  {\n    \"account\": \"Say \\\"hi\\\", then go\",\n    \"url\": \"\",\n    \"user\": \"a,b\",\n"
        "    \"password\": \"p\\\"w,\",\n    \"notes\": \"one\\r\\ntwo, \\\"three\\\"\"\n  },\n"
        "  {\n    \"account\": \"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\",\n    \"url\": \"https://x.example/?a=1,2\",\n"
        "    \"user\": \"\",\n    \"password\": \"\",\n    \"notes\": \"\",\n"
        "    \"windows-1252\": [\n      \"account\"\n    ]\n  }\n]\n");
    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}),
        "1\tSay \"hi\", then go\ta,b\t\n2\t\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\t\thttps://x.example/?a=1,2\n");

    test::WriteBytes(Path("out.csv"), {csv.begin(), csv.end()});
    const std::string copy = Path("copy.sek");
    MakeFile(copy);
    EXPECT_EQ(Ok({"import", copy, "--from", Path("out.csv"), "--passphrase-stdin"}), "");
    EXPECT_EQ(Ok({"export", copy, "--format", "csv", "--passphrase-stdin"}), csv);
    EXPECT_EQ(Ok({"show", copy, "2", "--field", "account", "--passphrase-stdin"}), "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\n")
        << "CSV holds UTF-8 alone: the Windows-1252 bytes are not known any more";
}

TEST_F(CliTest, ImportsKeePassXCsOwnExportAfterTheEntriesThere)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "First"}, "1");
    const std::string csv = "\xEF\xBB\xBF\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\","
                            "\"Icon\",\"Last Modified\",\"Created\"\r\n"
                            "\"Root\",\"Shop, \"\"best\"\"\",\"u\",\"p,w\",\"https://s\",\"a\nb\",\"\",\"0\","
                            "\"2022-02-09T09:27:03Z\",\"2022-02-10T09:23:54Z\"\r\n";
    test::WriteBytes(Path("keepassxc.csv"), {csv.begin(), csv.end()});
    EXPECT_EQ(Ok({"import", m_file, "--from", Path("keepassxc.csv"), "--passphrase-stdin"}), "");
    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}), "1\tFirst\t\t\n2\tShop, \"best\"\tu\thttps://s\n");
    EXPECT_EQ(Ok({"show", m_file, "2", "--field", "notes", "--passphrase-stdin"}), "a\r\nb\n");
    EXPECT_EQ(Ok({"show", m_file, "2", "--field", "password", "--passphrase-stdin"}), "p,w\n");
}

TEST_F(CliTest, WideFieldsAreShownAsUtf8)
{
    // One record whose account is in the wide form: FF FE FF, 2 units, "é€" in UTF-16.
    std::vector<std::uint8_t> image
        = {7, 'S', 'e', 'k', 'r', 'e', 't', 'a', 1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 2, 0xE9, 0, 0xAC, 0x20, 0, 0, 0, 0};
    EncryptBuffer(kPhrase, image);
    std::vector<std::uint8_t> file = {7, 'S', 'e', 'k', 'r', 'e', 't', 'a', 1, 0, 0, 0, 24, 0, 0, 0};
    file.insert(file.end(), image.begin(), image.end());
    test::WriteBytes(m_file, file);
    EXPECT_EQ(Ok({"show", m_file, "1", "--field", "account", "--passphrase-stdin"}), "\xC3\xA9\xE2\x82\xAC\n");
}

TEST_F(CliTest, ADamagedFileListsNothingButItsError)
{
    // Two records claimed; the first is whole, the second's account claims 200 bytes that are not there.
    std::vector<std::uint8_t> image
        = {7, 'S', 'e', 'k', 'r', 'e', 't', 'a', 2, 0, 0, 0, 1, 'a', 0, 0, 0, 0, 200, 0, 0, 0, 0, 0};
    EncryptBuffer(kPhrase, image);
    std::vector<std::uint8_t> file = {7, 'S', 'e', 'k', 'r', 'e', 't', 'a', 1, 0, 0, 0, 24, 0, 0, 0};
    file.insert(file.end(), image.begin(), image.end());
    test::WriteBytes(m_file, file);
    Fails({"ls", m_file, "--passphrase-stdin"}, kPhraseLine, 2, "Unexpected file format.");
}

TEST_F(CliTest, AZeroByteFileIsAnEmptyDocumentWithoutAPassPhrase)
{
    test::WriteBytes(m_file, {});
    EXPECT_EQ(Ok({"ls", m_file}, ""), "");
    EXPECT_EQ(Ok({"export", m_file}, ""), "[]\n");
    EXPECT_EQ(Add(m_file, {"--account", "a"}, "pw"), "1\n");
    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}), "1\ta\t\t\n");

    const std::string other = Path("other.sek");
    test::WriteBytes(other, {});
    EXPECT_EQ(Ok({"passwd", other, "--passphrase-stdin"}), "") << "only the new pass phrase";
    EXPECT_EQ(Ok({"ls", other, "--passphrase-stdin"}), "");
    EXPECT_EQ(test::ReadBytes(other).size(), 32u);
}

// A file made elsewhere under more than the 48 characters the desktop program takes still opens.
TEST_F(CliTest, PasswdReplacesThePassPhrase)
{
    const std::string longer(60, 'l'), longest(48, 'm');
    WriteRecords(m_file, {{"a", "", "", "", ""}}, longer);
    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}, longer + "\n"), "1\ta\t\t\n");
    EXPECT_EQ(Ok({"passwd", m_file, "--passphrase-stdin"}, longer + "\n" + longest + "\n"), "");
    EXPECT_EQ(RunCli({"ls", m_file, "--passphrase-stdin"}, longer + "\n").status, 2);
    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}, longest + "\n"), "1\ta\t\t\n");
}

TEST_F(CliTest, AWriteIntoAReadOnlyFolderLeavesTheOldFile)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "a"}, "pw");
    const auto before = test::ReadBytes(m_file);
    ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0555), 0);
    // Root writes anywhere; without the capabilities that allow it, the folder's bits hold.
    const std::vector<std::string> prefix = ::geteuid() == 0
        ? std::vector<std::string> {"setpriv", "--bounding-set=-dac_override,-dac_read_search,-fowner"}
        : std::vector<std::string> {};
    for (const std::vector<std::string>& arguments :
        std::vector<std::vector<std::string>> {{"add", m_file, "--account", "b", "--generate", "--passphrase-stdin"},
            {"rm", m_file, "1", "--passphrase-stdin"}, {"passwd", m_file, "--passphrase-stdin"},
            {"new", m_file, "--force", "--passphrase-stdin"}}) {
        const CliResult result = RunCli(arguments, kPhraseLine + kPhraseLine, prefix);
        EXPECT_EQ(result.status, 3) << arguments[0];
        EXPECT_EQ(result.err, "sekreta-cli: Access to " + m_file + " was denied.\n");
        EXPECT_EQ(test::ReadBytes(m_file), before);
        EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"x.sek"});
    }
}

TEST_F(CliTest, GeneratedPasswordsFollowEveryRuleOfTheGenerator)
{
    const std::vector<std::string> kindNames = {"--lower", "--upper", "--digits"};
    for (int kinds = 0; kinds < 8; ++kinds) {
        const GeneratorSettings asked = {0, (kinds & 1) != 0, (kinds & 2) != 0, (kinds & 4) != 0};
        for (const std::uint32_t length : {4u, 11u, 128u}) {
            std::vector<std::string> arguments = {"generate", "--count", "1000", "--length", std::to_string(length)};
            for (int kind = 0; kind < 3; ++kind) {
                if (kinds & (1 << kind))
                    arguments.push_back(kindNames[kind]);
            }
            const std::string out = Ok(arguments, "");
            GeneratorSettings settings = asked;
            settings.length = length;
            std::set<std::size_t> capitals;
            std::set<char> starts;
            std::size_t lines = 0;
            for (std::size_t begin = 0, end; (end = out.find('\n', begin)) != std::string::npos; begin = end + 1) {
                const std::string password = out.substr(begin, end - begin);
                ASSERT_EQ(BrokenGeneratorRule(password, settings), "") << password;
                const auto capital = password.find_first_of("BCDFGHJKLMNPQRSTVWXZAEIOUY");
                if (capital != std::string::npos)
                    capitals.insert(capital);
                starts.insert(std::string_view("aeiouyAEIOUY").find(password[0]) == std::string_view::npos);
                ++lines;
            }
            EXPECT_EQ(lines, 1000u);
            if (asked.lower && asked.upper && length == 4) {
                EXPECT_EQ(capitals, (std::set<std::size_t> {0, 1})) << "the capital's position is Draw(len - 2)";
            }
            if (asked.lower || asked.upper) {
                EXPECT_EQ(starts.size(), 2u) << "passwords start with a consonant or a vowel";
            }
        }
    }
}

}  // namespace
}  // namespace sekreta::test
