// New, Open, Save and Save As as the user meets them: the file dialogs, the save prompt, the
// recent files, and saves that fail part-way.
#include "TestApp.h"

#include "framework/CArchiveException.h"
#include "framework/CFileException.h"
#include "framework/CRecentFileList.h"
#include "framework/FrameworkIds.h"
#include "framework/StringTable.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "resources/ResourceIds.h"

#include <functional>
#include <sys/stat.h>

namespace sekreta::test {
namespace {

using platform::FileOperation;
using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;

const std::vector<AccountRecord> kLetters = {{"Bank", "https://bank.example", "me", "s3cret", "PIN 1234"}};
const std::vector<AccountRecord> kOther = {{"Shop", "https://shop.example", "buyer", "pw", ""}};

class DocumentFlow : public ProgramTest {
protected:
    // Opens a file written under "abcd", answering the prompt when the document holds no pass phrase.
    void OpenHeld(const std::filesystem::path& path)
    {
        ExpectFileDialog(path);
        if (Doc().m_strPassPhrase.empty())
            ExpectPassPhrase("abcd");
        ChooseOpen();
    }

    std::vector<std::string> RecentItems()
    {
        std::vector<std::string> texts;
        for (const auto& item : Frame().OpenMenu("&File")) {
            if (item.id >= ID_FILE_MRU_FILE1 && item.id <= ID_FILE_MRU_LAST)
                texts.push_back(item.text + (item.enabled ? "" : " (grayed)"));
        }
        return texts;
    }
};

TEST_F(DocumentFlow, TheOpenDialogOffersSekretaFilesFirst)
{
    m_platform.windows.ExpectFileDialog(std::nullopt);
    Frame().ChooseMenuItem(ID_FILE_OPEN);

    const platform::FileDialogRequest& request = m_platform.windows.FileDialogs().back();
    EXPECT_EQ(request.kind, platform::FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.title, "Open");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].name, "Sekreta Files (*.sek)");
    EXPECT_EQ(request.filters[0].pattern, "*.sek");
    EXPECT_EQ(request.filters[1].name, "All Files (*.*)");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    EXPECT_EQ(request.defaultExtension, "sek");
    EXPECT_EQ(request.initialName, "");
    EXPECT_TRUE(request.fileMustExist);
    EXPECT_TRUE(request.hideReadOnly);
}

TEST_F(DocumentFlow, OpeningTheOpenFileReadsNothingEvenWhenModified)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    OpenHeld(path);
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    ExpectFileDialog(path);
    ChooseOpen();

    EXPECT_EQ(Doc().m_records, kOther);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DocumentFlow, TheSameFileThroughALinkIsOneFileUnderThePathChosen)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    const auto link = m_folder / "link.sek";
    std::filesystem::create_symlink("a.sek", link);
    OpenHeld(path);
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    ExpectFileDialog(link);
    ChooseOpen();
    EXPECT_EQ(Doc().m_records, kOther) << "the open file is not read again";
    EXPECT_EQ(Doc().GetPathName(), path.string());
    EXPECT_EQ(RecentItems(), std::vector<std::string> {"&1 a.sek"});

    // Opened through the link while another file is open, the file keeps one entry, the link's.
    Doc().SetModifiedFlag(false);
    OpenHeld(WriteFile("b.sek", kOther, "abcd"));
    OpenHeld(link);
    EXPECT_EQ(Doc().m_records, kLetters);
    EXPECT_EQ(Doc().GetPathName(), link.string());
    EXPECT_EQ(RecentItems(), (std::vector<std::string> {"&1 link.sek", "&2 b.sek"}));
}

TEST_F(DocumentFlow, SaveOfAReadOnlyFileGoesToSaveAsProposingItsPath)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    OpenHeld(path);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    m_platform.windows.ExpectFileDialog(std::nullopt);
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    const platform::FileDialogRequest& request = m_platform.windows.FileDialogs().back();
    EXPECT_EQ(request.kind, platform::FileDialogRequest::Kind::Save);
    EXPECT_EQ(request.title, "Save As");
    EXPECT_EQ(request.initialName, path);
    EXPECT_EQ(request.initialFolder, m_folder.Path()) << "the folder of the file last opened";
    EXPECT_TRUE(request.confirmOverwrite);
}

TEST_F(DocumentFlow, SaveAsOfANewDocumentProposesUntitledSek)
{
    m_platform.windows.ExpectFileDialog(std::nullopt);
    Frame().ChooseMenuItem(ID_FILE_SAVE_AS);
    EXPECT_EQ(m_platform.windows.FileDialogs().back().initialName, "Untitled.sek");
}

TEST_F(DocumentFlow, SaveWithoutChangesWritesTheFileAgain)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    OpenHeld(path);
    std::filesystem::remove(path);
    m_platform.windows.ExpectFileDialog(path);
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    EXPECT_EQ(ReadFile(path, "abcd"), kLetters) << "a file that no longer exists is asked for by name";

    // Written behind the program's back, the file is replaced only once the user says so.
    WriteBytes(path, {1, 2, 3});
    ExpectMessage(ChangedOnDisk(path), IDYES);
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    EXPECT_EQ(ReadFile(path, "abcd"), kLetters);
}

TEST_F(DocumentFlow, NoAtTheSavePromptDuringOpenDropsTheChanges)
{
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectMessage("Save changes to Untitled?", IDNO);
    ExpectPassPhrase("abcd");
    ChooseOpen();
    EXPECT_EQ(Doc().m_records, kLetters);
}

TEST_F(DocumentFlow, CancelAtTheSavePromptKeepsEverything)
{
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    ExpectMessage("Save changes to Untitled?", IDCANCEL);
    Frame().ChooseMenuItem(ID_FILE_NEW);
    ExpectMessage("Save changes to Untitled?", IDCANCEL);
    Frame().RequestClose();

    EXPECT_EQ(Doc().m_records, kOther);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(Frame().IsVisible());
    EXPECT_FALSE(m_platform.windows.QuitRequested());
}

TEST_F(DocumentFlow, YesAtTheSavePromptSavesBeforeClosing)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    OpenHeld(path);
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    ExpectMessage("Save changes to a.sek?", IDYES);
    Frame().ChooseMenuItem(ID_APP_EXIT);

    EXPECT_TRUE(m_platform.windows.QuitRequested());
    EXPECT_FALSE(Frame().IsVisible());
    EXPECT_EQ(ReadFile(path, "abcd"), kOther);
}

TEST_F(DocumentFlow, TheRecentFilesAreTheLastFourNewestFirst)
{
    EXPECT_EQ(RecentItems(), std::vector<std::string> {"Recent File (grayed)"});
    for (const char* name : {"1.sek", "2.sek", "3.sek", "4.sek", "5.sek"})
        OpenHeld(WriteFile(name, kLetters, "abcd"));
    EXPECT_EQ(RecentItems(), (std::vector<std::string> {"&1 5.sek", "&2 4.sek", "&3 3.sek", "&4 2.sek"}));

    OpenHeld(m_folder / "2.sek");
    EXPECT_EQ(RecentItems(), (std::vector<std::string> {"&1 2.sek", "&2 5.sek", "&3 4.sek", "&4 3.sek"}));

    Exit();
    EXPECT_EQ(m_platform.userSettings.Dump(),
        (std::vector<std::string> {
            "software\\Local AppWizard-Generated Applications\\Sekreta\\Frame",
            "software\\Local AppWizard-Generated Applications\\Sekreta\\General-Summary",
            "software\\Local AppWizard-Generated Applications\\Sekreta\\Recent File List\\[File1] = \""
                + (m_folder / "2.sek").string() + "\"",
            "software\\Local AppWizard-Generated Applications\\Sekreta\\Recent File List\\[File2] = \""
                + (m_folder / "5.sek").string() + "\"",
            "software\\Local AppWizard-Generated Applications\\Sekreta\\Recent File List\\[File3] = \""
                + (m_folder / "4.sek").string() + "\"",
            "software\\Local AppWizard-Generated Applications\\Sekreta\\Recent File List\\[File4] = \""
                + (m_folder / "3.sek").string() + "\"",
            "software\\Local AppWizard-Generated Applications\\Sekreta\\Settings",
        }));
}

TEST_F(DocumentFlow, ARecentFileShowsAmpersandsDoubledAndFarPathsShortened)
{
    OpenHeld(WriteFile("Tom & Jerry.sek", kLetters, "abcd"));
    EXPECT_EQ(RecentItems(), std::vector<std::string> {"&1 Tom && Jerry.sek"});

    m_platform.files.SetCurrentDirectory("/");
    EXPECT_EQ(
        RecentItems(), std::vector<std::string> {"&1 " + AbbreviatePath((m_folder / "Tom && Jerry.sek").string(), 30)});
}

TEST_F(DocumentFlow, ADeletedRecentFileIsReportedAndLeavesTheMenu)
{
    const auto first = WriteFile("first.sek", kLetters, "abcd");
    OpenHeld(first);
    OpenHeld(WriteFile("second.sek", kOther, "abcd"));
    std::filesystem::remove(first);

    ExpectMessage(first.string() + " was not found.");
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(RecentItems(), std::vector<std::string> {"&1 second.sek"});
    EXPECT_EQ(Doc().m_records, kOther);
}

TEST_F(DocumentFlow, AFailedRecentFileLeavesByItsPathWhenASaveAsOnTheWayMovedIt)
{
    const auto first = WriteFile("first.sek", kLetters, "abcd");
    OpenHeld(first);
    OpenHeld(WriteFile("second.sek", kOther, "abcd"));
    std::filesystem::remove(first);
    Frame().ChooseMenuItem(ID_FILE_NEW);
    Doc().SetModifiedFlag(true);
    ExpectMessage("Save changes to Untitled?", IDYES);
    ExpectFileDialog(m_folder / "third.sek");
    ExpectPassPhrase("abcd");
    ExpectMessage(first.string() + " was not found.");
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(RecentItems(), (std::vector<std::string> {"&1 third.sek", "&2 second.sek"}));
}

TEST_F(DocumentFlow, ChoosingARecentFileOpensIt)
{
    const auto first = WriteFile("first.sek", kLetters, "abcd");
    OpenHeld(first);
    OpenHeld(WriteFile("second.sek", kOther, "abcd"));
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_FILE_MRU_FILE1 + 1));
    EXPECT_EQ(Doc().m_records, kLetters);
    EXPECT_EQ(RecentItems(), (std::vector<std::string> {"&1 first.sek", "&2 second.sek"}));
}

TEST_F(DocumentFlow, ANameIsMadeAbsoluteAndAnImpossibleOneReportedAsABadPath)
{
    ExpectMessage((m_folder / "missing.sek").string() + " was not found.");
    EXPECT_EQ(m_app->OpenDocumentFile("missing.sek"), nullptr);

    const std::string tooLong = (m_folder / std::string(300, 'x')).string() + ".sek";
    ExpectMessage(tooLong + " contains an invalid path.");
    EXPECT_EQ(m_app->OpenDocumentFile(tooLong), nullptr);
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
}

TEST_F(DocumentFlow, EachFailureKindGetsItsOwnWords)
{
    const std::string path = (m_folder / "x.sek").string();
    struct Case {
        std::function<void()> raise;
        const char* message;
    };
    const Case cases[] = {
        {[] { throw CArchiveException(CArchiveException::endOfFile); }, "Unexpected file format."},
        {[] { throw CArchiveException(CArchiveException::badIndex); }, "Unexpected file format."},
        {[] { throw CArchiveException(CArchiveException::badClass); }, "Unexpected file format."},
        {[] { throw CArchiveException(CArchiveException::badSchema); }, "Unexpected file format."},
        {[] { throw CArchiveException(CArchiveException::genericException); }, "Failed to open document."},
        {[] { throw CArchiveException(CArchiveException::readOnly); }, "Failed to open document."},
        {[] { throw CFileException(CFileException::diskFull, ENOSPC, "/other.sek"); },
            "Disk full while accessing /other.sek."},
        {[] { throw CFileException(CFileException::accessDenied); }, "Access to %1 was denied."},
        {[] { throw CMemoryException(); }, "Failed to open document."},
        {[] { throw std::bad_alloc(); }, "Failed to open document."},
    };
    for (const Case& failure : cases) {
        ExpectMessage(StringTable::FormatText(failure.message, {path}));
        try {
            failure.raise();
        } catch (const std::exception& raised) {
            Doc().ReportSaveLoadException(path, &raised, false, IDP_FAILED_TO_OPEN_DOC);
        }
    }
    try {
        throw CUserException();
    } catch (const std::exception& raised) {
        Doc().ReportSaveLoadException(path, &raised, false, IDP_FAILED_TO_OPEN_DOC);
    }
    m_platform.windows.VerifyAllScriptsUsed();
    EXPECT_EQ(m_platform.windows.MessageBoxes().size(), std::size(cases)) << "an already reported cancel stays quiet";
}

struct SaveFailure {
    FileOperation operation;
    int osError;
    const char* message;
};

class FailingSave : public DocumentFlow, public testing::WithParamInterface<SaveFailure> { };

TEST_P(FailingSave, LeavesTheFileAsItWasAndTheDocumentModified)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    const std::vector<std::uint8_t> before = ReadBytes(path);
    OpenHeld(path);
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);

    m_platform.files.Fail(GetParam().operation, GetParam().osError);
    ExpectMessage(StringTable::FormatText(GetParam().message, {path.string()}));
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"a.sek"});
    EXPECT_TRUE(Doc().IsModified());
}

TEST_P(FailingSave, LeavesNothingUnderANewName)
{
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    const auto path = m_folder / "new.sek";
    // The file is made before the pass phrase is asked for: when that fails nobody is asked.
    const bool asked = GetParam().operation != FileOperation::CreateTemporary;
    m_platform.windows.ExpectFileDialog(path);
    if (asked)
        ExpectPassPhrase("abcd");
    m_platform.files.Fail(GetParam().operation, GetParam().osError);
    ExpectMessage(StringTable::FormatText(GetParam().message, {path.string()}));
    Frame().ChooseMenuItem(ID_FILE_SAVE);

    EXPECT_TRUE(m_folder.Entries().empty());
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_EQ(Doc().m_strPassPhrase, asked ? "abcd" : "") << "an answered prompt is kept";
}

INSTANTIATE_TEST_SUITE_P(AtEveryStep, FailingSave,
    testing::Values(SaveFailure {FileOperation::CreateTemporary, EACCES, "Access to %1 was denied."},
        SaveFailure {FileOperation::Write, ENOSPC, "Disk full while accessing %1."},
        SaveFailure {FileOperation::Flush, EIO, "A hardware I/O error was reported while accessing %1."},
        SaveFailure {FileOperation::Close, EDQUOT, "Disk full while accessing %1."},
        SaveFailure {FileOperation::Replace, EXDEV, "An unknown error occurred while accessing %1."}));

TEST_F(DocumentFlow, ACancelledPromptLeavesAnExistingFileUnderTheChosenName)
{
    const auto path = WriteFile("b.sek", kLetters, "efgh");
    const std::vector<std::uint8_t> before = ReadBytes(path);
    Doc().m_records = kOther;
    m_platform.windows.ExpectFileDialog(path);
    ExpectPassPhraseCancelled();
    ExpectMessage("Access to " + path.string() + " was denied.");
    Frame().ChooseMenuItem(ID_FILE_SAVE_AS);

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"b.sek"});
}

}  // namespace
}  // namespace sekreta::test
