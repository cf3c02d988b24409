// A save whose file system fails at each of its steps in turn. First a save that succeeds is
// counted, operation by operation; then the same save is repeated with exactly one of those
// calls failing, for every call it made. Each time the old file must stay byte for byte, no
// temporary file may stay behind, the user must see exactly one message with the words for
// the failure, and the document must keep its changes for another try.
#include "LeftOverFiles.h"
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "framework/StringTable.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <cerrno>
#include <map>

namespace sekreta::test {
namespace {

using platform::FileOperation;

// Long enough notes that reading and writing take the file in several pieces.
const std::vector<AccountRecord> kLetters = {{"Bank", "https://bank.example", "me", "s3cret", std::string(90000, 'b')},
    {"Mail", "", "me@mail.example", "pw", std::string(90000, 'm')}};
const std::vector<AccountRecord> kChanged = {{"Bank", "https://bank.example", "me", "n3w", std::string(90000, 'b')},
    {"Mail", "", "me@mail.example", "pw", std::string(90000, 'm')},
    {"Shop", "https://shop.example", "buyer", "x", std::string(3000, 's')}};

struct Failure {
    int osError;
    std::string message;
};

// The error each step fails with, and the words the user then reads.
const std::map<FileOperation, Failure> kFailures = {
    {FileOperation::CreateTemporary, {EACCES, "Access to %1 was denied."}},
    {FileOperation::Write, {ENOSPC, "Disk full while accessing %1."}},
    {FileOperation::GetOwnership, {EACCES, "Access to %1 was denied."}},
    {FileOperation::SetOwnership, {EPERM, "Access to %1 was denied."}},
    {FileOperation::Flush, {EIO, "A hardware I/O error was reported while accessing %1."}},
    {FileOperation::Close, {EDQUOT, "Disk full while accessing %1."}},
    {FileOperation::Replace, {EXDEV, "An unknown error occurred while accessing %1."}},
    {FileOperation::Remove, {EBUSY, "A sharing violation occurred while accessing %1."}},
    {FileOperation::OpenForReading, {EMFILE, "%1 could not be opened because there are too many open files."}},
    {FileOperation::Read, {EIO, "A hardware I/O error was reported while accessing %1."}},
    {FileOperation::Size, {EOVERFLOW, "An unknown error occurred while accessing %1."}},
};

const std::vector<FileOperation> kEveryOperation = {FileOperation::OpenForReading, FileOperation::CreateTemporary,
    FileOperation::Read, FileOperation::Write, FileOperation::Size, FileOperation::Flush, FileOperation::Close,
    FileOperation::GetOwnership, FileOperation::SetOwnership, FileOperation::Replace, FileOperation::Remove};

using CallCounts = std::map<FileOperation, int>;

class FailingSaveWalk : public ProgramTest {
protected:
    void SetUp() override
    {
        m_path = WriteFile("a.sek", kLetters, "abcd");
        m_before = ReadBytes(m_path);
        ExpectFileDialog(m_path);
        ExpectPassPhrase("abcd");
        ChooseOpen();
        ASSERT_EQ(Doc().m_records, kLetters);
    }

    CallCounts Calls() const
    {
        CallCounts counts;
        for (const FileOperation operation : kEveryOperation)
            counts[operation] = m_platform.files.Calls(operation);
        return counts;
    }

    static CallCounts Difference(const CallCounts& after, const CallCounts& before)
    {
        CallCounts made;
        for (const auto& [operation, count] : after) {
            if (count > before.at(operation))
                made[operation] = count - before.at(operation);
        }
        return made;
    }

    // A change as the entry commands make it.
    void Change()
    {
        Doc().m_records = kChanged;
        Doc().SetModifiedFlag(true);
    }

    // The calls that `save` makes when nothing fails; the file is then put back as it was.
    // `dialogs` scripts what the save shows before it writes.
    CallCounts CountCalls(
        const std::function<void()>& dialogs, const std::function<void()>& save, const std::filesystem::path& written)
    {
        Change();
        const CallCounts before = Calls();
        dialogs();
        save();
        m_platform.windows.VerifyAllScriptsUsed();
        EXPECT_EQ(ReadFile(written, "abcd"), kChanged);
        EXPECT_FALSE(Doc().IsModified());
        const CallCounts made = Difference(Calls(), before);
        WriteBytes(m_path, m_before);
        if (written != m_path)
            std::filesystem::remove(written);
        Change();
        return made;
    }

    // Fails call number `skip` + 1 of `operation` in `save`, which must end in one message box
    // besides the `asked` questions that `dialogs` scripts.
    void FailOneCall(const std::function<void()>& dialogs, const std::function<void()>& save,
        const std::filesystem::path& chosen, FileOperation operation, int skip, std::size_t asked)
    {
        SCOPED_TRACE("operation " + std::to_string(static_cast<int>(operation)) + ", call " + std::to_string(skip + 1));
        const Failure& failure = kFailures.at(operation);
        const std::size_t boxesBefore = m_platform.windows.MessageBoxes().size();
        const int callsBefore = m_platform.files.Calls(operation);
        m_platform.files.Fail(operation, failure.osError, skip);
        dialogs();
        ExpectMessage(StringTable::FormatText(failure.message, {chosen.string()}));
        save();
        m_platform.windows.VerifyAllScriptsUsed();

        EXPECT_GT(m_platform.files.Calls(operation), callsBefore + skip) << "the failing call was made";
        EXPECT_EQ(m_platform.windows.MessageBoxes().size(), boxesBefore + asked + 1) << "exactly one message";
        EXPECT_EQ(ReadBytes(m_path), m_before);
        EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"a.sek"});
        EXPECT_TRUE(Doc().IsModified());
        EXPECT_EQ(Doc().m_records, kChanged);
        EXPECT_EQ(Doc().m_strPassPhrase, "abcd");
        EXPECT_EQ(Doc().GetPathName(), m_path.string());
        EXPECT_EQ(Frame().Caption(), "a.sek - Sekreta");
    }

    // Walks `save` through every call it makes, failing each in turn. The old file's mode is
    // given back after the rename, when the new file is in place: that last call failing
    // leaves the saved file its owner's alone, and the save stands.
    void Walk(const std::function<void()>& dialogs, const std::function<void()>& save,
        const std::filesystem::path& chosen, const CallCounts& made, std::size_t asked = 0)
    {
        for (const auto& [operation, count] : made) {
            const bool modeAfterRename = operation == FileOperation::SetOwnership && count == 2;
            for (int skip = 0; skip < count - (modeAfterRename ? 1 : 0); ++skip)
                FailOneCall(dialogs, save, chosen, operation, skip, asked);
        }
    }

    // Fails the giving back of the mode after the rename: the save succeeds all the same.
    void FailModeAfterRename(const std::function<void()>& save)
    {
        m_platform.files.Fail(FileOperation::SetOwnership, EPERM, 1);
        save();
        EXPECT_EQ(ReadFile(m_path, "abcd"), kChanged);
        EXPECT_FALSE(Doc().IsModified());
        EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"a.sek"});
    }

    std::filesystem::path m_path;
    std::vector<std::uint8_t> m_before;
};

TEST_F(FailingSaveWalk, SaveOverTheOpenFileFailsCleanlyAtEveryStep)
{
    const auto nothing = [] {};
    const auto save = [this] { Frame().ChooseMenuItem(ID_FILE_SAVE); };
    const CallCounts made = CountCalls(nothing, save, m_path);
    // What a save over an existing file must do, whatever else it does.
    EXPECT_EQ(made.at(FileOperation::CreateTemporary), 1);
    EXPECT_GE(made.at(FileOperation::Write), 2);
    EXPECT_EQ(made.at(FileOperation::GetOwnership), 1);
    EXPECT_EQ(made.at(FileOperation::SetOwnership), 2) << "owner's bits first, the whole mode once in place";
    EXPECT_EQ(made.at(FileOperation::Flush), 1);
    EXPECT_GE(made.at(FileOperation::Close), 1);
    EXPECT_EQ(made.at(FileOperation::Replace), 1);
    EXPECT_FALSE(made.contains(FileOperation::Remove)) << "nothing to clean up after a save that worked";

    // Every try finds the old file put back behind the program's back, so Save asks first.
    const auto replace = [this] { ExpectMessage(ChangedOnDisk(m_path), platform::IDYES); };
    Walk(replace, save, m_path, made, 1);
    replace();
    FailModeAfterRename(save);
    WriteBytes(m_path, m_before);
    Change();

    // Nothing failing any more, the same Save writes the file.
    replace();
    save();
    EXPECT_EQ(ReadFile(m_path, "abcd"), kChanged);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"a.sek"});
}

TEST_F(FailingSaveWalk, SaveAsUnderANewNameLeavesNothingThereAtEveryStep)
{
    const auto chosen = m_folder / "new.sek";
    const auto dialogs = [&] { ExpectFileDialog(chosen); };
    const auto save = [this] { Frame().ChooseMenuItem(ID_FILE_SAVE_AS); };
    const CallCounts made = CountCalls(dialogs, save, chosen);
    EXPECT_FALSE(made.contains(FileOperation::GetOwnership)) << "a new file has nothing to copy from";
    EXPECT_FALSE(made.contains(FileOperation::SetOwnership));
    // The walk expects the document still named a.sek, so the counting save's rename is undone.
    Doc().SetPathName(m_path.string());

    Walk(dialogs, save, chosen, made);
}

TEST_F(FailingSaveWalk, WhenEvenTheCleanUpFailsTheLeftOverIsHiddenAndTheOwnersAlone)
{
    Change();
    m_platform.files.Fail(FileOperation::Write, ENOSPC, 1);
    m_platform.files.Fail(FileOperation::Remove, EIO);
    ExpectMessage("Disk full while accessing " + m_path.string() + ".");
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    EXPECT_EQ(ReadBytes(m_path), m_before);
    EXPECT_EQ(CheckLeftOvers(m_folder, "a.sek").size(), 1u);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(FailingSaveWalk, AnOpenThatFailsPartWayLeavesAnEmptyDocumentAndTheFile)
{
    // Each try starts from another file under the same pass phrase, so the open of a.sek asks
    // for none and its failing call may come at any point.
    const auto other = WriteFile("b.sek", {}, "abcd");
    const auto openOther = [&] {
        ExpectFileDialog(other);
        if (Doc().m_strPassPhrase.empty())
            ExpectPassPhrase("abcd");
        ChooseOpen();
        ASSERT_EQ(Doc().GetPathName(), other.string());
    };
    openOther();
    const CallCounts before = Calls();
    ExpectFileDialog(m_path);
    ChooseOpen();
    ASSERT_EQ(Doc().m_records, kLetters);
    const CallCounts made = Difference(Calls(), before);
    EXPECT_EQ(made.at(FileOperation::OpenForReading), 1);
    EXPECT_GE(made.at(FileOperation::Read), 2);

    for (const auto& [operation, count] : made) {
        for (int skip = 0; skip < count; ++skip) {
            SCOPED_TRACE(
                "operation " + std::to_string(static_cast<int>(operation)) + ", call " + std::to_string(skip + 1));
            openOther();
            m_platform.files.Fail(operation, kFailures.at(operation).osError, skip);
            ExpectFileDialog(m_path);
            ExpectMessage(StringTable::FormatText(kFailures.at(operation).message, {m_path.string()}));
            ChooseOpen();

            EXPECT_EQ(ReadBytes(m_path), m_before);
            if (operation == FileOperation::OpenForReading) {
                // Nothing was touched yet: the open document stays.
                EXPECT_EQ(Doc().GetPathName(), other.string());
                EXPECT_EQ(Doc().m_strPassPhrase, "abcd");
                continue;
            }
            EXPECT_TRUE(Doc().m_records.empty());
            EXPECT_TRUE(ListAccounts().empty());
            EXPECT_EQ(Doc().GetTitle(), "Untitled");
            EXPECT_FALSE(Doc().IsModified());
            EXPECT_EQ(Doc().m_strPassPhrase, "");
        }
    }
}

}  // namespace
}  // namespace sekreta::test
