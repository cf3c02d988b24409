// What the one safe save gives sekreta-cli: read-only files stay as they are, owners and modes
// are kept, and a file written on Windows stays under the pass phrase bytes it came with.
#include "CliFixture.h"

#include <sys/stat.h>
#include <unistd.h>

namespace sekreta::test {
namespace {

TEST_F(CliTest, AReadOnlyFileIsNotReplaced)
{
    MakeFile(m_file);
    Add(m_file, {"--account", "a"}, "pw");
    // The mode bits say read-only even to root, who could write the file anyway.
    ASSERT_EQ(::chmod(m_file.c_str(), 0444), 0);
    const auto before = ReadBytes(m_file);
    Fails({"edit", m_file, "1", "--user", "x", "--passphrase-stdin"}, kPhraseLine, 3,
        "Access to " + m_file + " was denied.");
    Fails({"new", m_file, "--force", "--passphrase-stdin"}, kPhraseLine, 3, "Access to " + m_file + " was denied.");
    EXPECT_EQ(ReadBytes(m_file), before);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"x.sek"});
}

TEST_F(CliTest, ASaveKeepsTheModeAndWhereAllowedTheOwnerAndGroup)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    MakeFile(m_file);
    ASSERT_EQ(::chown(m_file.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(m_file.c_str(), 0640), 0);
    EXPECT_EQ(Add(m_file, {"--account", "a"}, "pw"), "1\n");
    struct stat status { };
    ASSERT_EQ(::stat(m_file.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 8765u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);

    // Without the right to give files away, the file becomes the writer's, and keeps its mode.
    const CliResult result = RunCli({"add", m_file, "--account", "b", "--generate", "--passphrase-stdin"}, kPhraseLine,
        {"setpriv", "--bounding-set=-chown"});
    EXPECT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(::stat(m_file.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 0u);
    EXPECT_EQ(status.st_gid, 0u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadRecords(m_file, kPhrase).size(), 2u);
}

TEST_F(CliTest, AFileWrittenOnWindowsOpensWithThePassPhraseTypedHereAndStaysUnderItsBytes)
{
    // "Grüße €" as Windows typed it.
    const std::string windows = "Gr\xFC\xDF"
                                "e \x80";
    const std::string typed = "Gr\xC3\xBC\xC3\x9F"
                              "e \xE2\x82\xAC";
    WriteRecords(m_file, {{"Bank", "", "me", "pw", ""}}, windows);
    EXPECT_EQ(Ok({"ls", m_file, "--passphrase-stdin"}, typed + "\n"), "1\tBank\tme\t\n");
    EXPECT_EQ(Ok({"edit", m_file, "Bank", "--user", "you", "--passphrase-stdin"}, typed + "\n"), "");

    std::string openedWith;
    EXPECT_EQ(ReadRecords(m_file, windows, &openedWith), (std::vector<AccountRecord> {{"Bank", "", "you", "pw", ""}}));
    EXPECT_EQ(openedWith, windows) << "saved under the same bytes, not the UTF-8 ones";
    // A new pass phrase stays in the file's form; the Windows form opens a file written here.
    EXPECT_EQ(Ok({"passwd", m_file, "--passphrase-stdin"}, typed + "\nMa\xC3\x9F \xC2\xBD Liter\n"), "");
    ReadRecords(m_file, "Ma\xDF \xBD Liter", &openedWith);
    EXPECT_EQ(openedWith, "Ma\xDF \xBD Liter");
    WriteRecords(Path("here.sek"), {{"Shop", "", "", "", ""}}, typed);
    EXPECT_EQ(Ok({"ls", Path("here.sek"), "--passphrase-stdin"}, windows + "\n"), "1\tShop\t\t\n");
}

}  // namespace
}  // namespace sekreta::test
