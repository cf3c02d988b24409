// Files that are not what a save or an open expects: pipes and devices, which must never block
// the window, files the user marked read-only, which a save must not replace, and files that
// another program changes or holds while they are open here.
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace sekreta::test {
namespace {

const std::vector<AccountRecord> kLetters = {{"Bank", "https://bank.example", "me", "s3cret", "PIN 1234"}};
const std::vector<AccountRecord> kChanged = {{"Bank", "https://bank.example", "me", "n3w", "PIN 1234"}};

class FileSafetyFlow : public ProgramTest {
protected:
    void Open(const std::filesystem::path& path)
    {
        ExpectFileDialog(path);
        ExpectPassPhrase("abcd");
        ChooseOpen();
        ASSERT_EQ(Doc().m_records, kLetters);
    }

    // A change as the entry commands make it.
    void Change()
    {
        Doc().m_records = kChanged;
        Doc().SetModifiedFlag(true);
    }

    void ExpectUntouchedUntitledDocument()
    {
        EXPECT_EQ(Doc().GetTitle(), "Untitled");
        EXPECT_EQ(Doc().GetPathName(), "");
        EXPECT_TRUE(Doc().m_records.empty());
        EXPECT_FALSE(Doc().IsModified());
    }
};

TEST_F(FileSafetyFlow, OpeningANamedPipeIsRefusedAtOnce)
{
    // Nobody ever writes into this pipe: opening it the ordinary way would wait forever.
    const auto pipe = m_folder / "x.sek";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ExpectFileDialog(pipe);
    ExpectMessage("Access to " + pipe.string() + " was denied.");
    ChooseOpen();
    ExpectUntouchedUntitledDocument();
}

TEST_F(FileSafetyFlow, OpeningADeviceOrAFolderIsRefusedWithTheSameWords)
{
    // A link ending at a device, as "All Files" may offer it.
    const auto link = m_folder / "null.sek";
    std::filesystem::create_symlink("/dev/null", link);
    const auto folder = m_folder / "folder.sek";
    std::filesystem::create_directory(folder);
    for (const std::filesystem::path& path : {std::filesystem::path("/dev/null"), link, folder}) {
        ExpectFileDialog(path);
        ExpectMessage("Access to " + path.string() + " was denied.");
        ChooseOpen();
        ExpectUntouchedUntitledDocument();
    }
}

TEST_F(FileSafetyFlow, AFailedOpenOfAPipeKeepsTheOpenDocumentAndItsChanges)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    Open(path);
    Change();
    const auto pipe = m_folder / "pipe.sek";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ExpectFileDialog(pipe);
    ExpectMessage("Save changes to a.sek?", platform::IDNO);
    ExpectMessage("Access to " + pipe.string() + " was denied.");
    ChooseOpen();

    EXPECT_EQ(Doc().GetPathName(), path.string());
    EXPECT_EQ(Doc().m_records, kChanged);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(FileSafetyFlow, SaveOverAReadOnlyFileIsRefusedAndTheFileStaysAsItWas)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    Open(path);
    // The mode bits say read-only even to root, who could write the file anyway.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::vector<std::uint8_t> before = ReadBytes(path);
    Change();

    // Save finds the file read-only and asks for a name; the user keeps the same one.
    ExpectFileDialog(path);
    ExpectMessage("Access to " + path.string() + " was denied.");
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"a.sek"});
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0444u);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().m_records, kChanged);
    EXPECT_EQ(Doc().GetPathName(), path.string());

    // Made writable again, the same Save writes it.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    EXPECT_EQ(ReadFile(path, "abcd"), kChanged);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(FileSafetyFlow, SaveAsOntoAPipeOrAFolderLeavesThemAndTheDocument)
{
    const auto pipe = m_folder / "pipe.sek";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const auto folder = m_folder / "folder.sek";
    std::filesystem::create_directory(folder);
    Change();
    for (const std::filesystem::path& path : {pipe, folder}) {
        ExpectFileDialog(path);
        // Refused before anything is written, so nobody is asked for a pass phrase.
        ExpectMessage("Access to " + path.string() + " was denied.");
        Frame().ChooseMenuItem(ID_FILE_SAVE_AS);
    }

    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_EQ(m_folder.Entries(), (std::vector<std::string> {"folder.sek", "pipe.sek"}));
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(FileSafetyFlow, SaveKeepsTheModeOwnerAndGroupOfTheFile)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    // Only root may give a file to someone else; anyone else keeps their own.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    }
    Open(path);
    Change();
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    EXPECT_EQ(ReadFile(path, "abcd"), kChanged);
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(status.st_uid, 4321u);
        EXPECT_EQ(status.st_gid, 8765u);
    }
}

TEST_F(FileSafetyFlow, SaveAsksBeforeReplacingAFileAnotherProgramChanged)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    Open(path);
    Change();
    // Another program saves the file as every safe save does: a new file renamed over it.
    const std::vector<AccountRecord> theirs = {{"Club", "", "member", "pw", ""}};
    std::filesystem::rename(WriteFile("theirs.sek", theirs, "abcd"), path);
    // While it still holds the file, a save fails like any other, and asks nothing.
    m_platform.files.Fail(platform::FileOperation::Lock, EWOULDBLOCK);
    ExpectMessage("A locking violation occurred while accessing " + path.string() + ".");
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    ExpectMessage(ChangedOnDisk(path), platform::IDNO);
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    const platform::MessageBoxRequest& question = m_platform.windows.MessageBoxes().back();
    EXPECT_EQ(question.caption, "Sekreta");
    EXPECT_EQ(question.icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(ReadFile(path, "abcd"), theirs);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"a.sek"});
    EXPECT_EQ(Doc().m_records, kChanged);
    EXPECT_TRUE(Doc().IsModified());

    ExpectMessage(ChangedOnDisk(path), platform::IDYES);
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    EXPECT_EQ(ReadFile(path, "abcd"), kChanged);
    // The file is now the one this program wrote: the next Save asks nothing.
    Change();
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    EXPECT_FALSE(Doc().IsModified());
}

}  // namespace
}  // namespace sekreta::test
