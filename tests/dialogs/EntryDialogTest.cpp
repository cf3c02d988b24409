// The account entry dialog: the five texts in and out, the keyboard, and the "Pa&ssword" button
// that runs a fresh generator over it.
#include "DialogTest.h"

#include "dialogs/CEntryDlg.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

#include <vector>

namespace sekreta::test {
namespace {

using platform::DialogScript;
using platform::IDCANCEL;
using platform::IDOK;

class EntryDialog : public DialogTest {
protected:
    void SetMembers(CEntryDlg& entry)
    {
        entry.m_strAccount = "Caf\xE9 Bank";  // written on Windows: not UTF-8
        entry.m_strPassword = "s3cret";
        entry.m_strUser = "me";
        entry.m_strUrl = "http://";
        entry.m_strNotes = "PIN 1234\r\nsecond line\r\n";
    }
    void ExpectMembersAsSet(const CEntryDlg& entry)
    {
        EXPECT_EQ(entry.m_strAccount, "Caf\xE9 Bank");
        EXPECT_EQ(entry.m_strPassword, "s3cret");
        EXPECT_EQ(entry.m_strUser, "me");
        EXPECT_EQ(entry.m_strUrl, "http://");
        EXPECT_EQ(entry.m_strNotes, "PIN 1234\r\nsecond line\r\n");
    }
};

TEST_F(EntryDialog, ShowsTheTextsItIsGivenAndReturnsThemByteForByte)
{
    Windows()
        .ExpectDialog(IDD_ENTRY)
        .ExpectText(IDC_ACCOUNT, "Caf\xE9 Bank")
        .ExpectText(IDC_PASSWORD, "s3cret")
        .ExpectText(IDC_USER, "me")
        .ExpectText(IDC_URL, "http://")
        .ExpectText(IDC_NOTES, "PIN 1234\r\nsecond line\r\n")
        .ExpectFocus(IDC_ACCOUNT, true)
        .Press(IDOK);
    CEntryDlg entry;
    SetMembers(entry);
    EXPECT_EQ(entry.DoModal(), IDOK);
    ExpectMembersAsSet(entry);
}

TEST_F(EntryDialog, OKWithEveryFieldEmptyGivesFiveEmptyTexts)
{
    Windows().ExpectDialog(IDD_ENTRY).PressEnter();
    CEntryDlg entry;
    EXPECT_EQ(entry.DoModal(), IDOK);
    for (const std::string* text :
        {&entry.m_strAccount, &entry.m_strPassword, &entry.m_strUser, &entry.m_strUrl, &entry.m_strNotes})
        EXPECT_EQ(*text, "");
}

TEST_F(EntryDialog, TabRunsThroughTheFieldsAndButtonsInTemplateOrder)
{
    DialogScript& script = Windows().ExpectDialog(IDD_ENTRY);
    script.ExpectFocus(IDC_ACCOUNT, true);
    for (const int id : {int(IDC_URL), int(IDC_USER), int(IDC_PASSWORD), IDCANCEL, IDOK, int(IDC_GENERATE_PASSWORD),
             int(IDC_NOTES), int(IDC_ACCOUNT)})
        script.Tab().ExpectFocus(id, id != IDCANCEL && id != IDOK && id != IDC_GENERATE_PASSWORD);
    script.Press(IDCANCEL);
    CEntryDlg entry;
    EXPECT_EQ(entry.DoModal(), IDCANCEL);
}

TEST_F(EntryDialog, NotesTypedOnThreeLinesComeBackWithTwoLineBreaks)
{
    DialogScript& script = Windows().ExpectDialog(IDD_ENTRY);
    script.Type("Mail");
    for (int i = 0; i < 7; ++i)
        script.Tab();
    script.ExpectFocus(IDC_NOTES, true)
        .Type("first")
        .PressEnter()
        .Type("second")
        .PressEnter()
        .Type("third")
        .ExpectText(IDC_NOTES, "first\r\nsecond\r\nthird")
        .Tab()
        .ExpectFocus(IDC_ACCOUNT, true)
        .Type("Post")
        .PressEnter();
    CEntryDlg entry;
    EXPECT_EQ(entry.DoModal(), IDOK) << "Enter in a single-line field presses OK";
    EXPECT_EQ(entry.m_strNotes, "first\r\nsecond\r\nthird");
    EXPECT_EQ(entry.m_strAccount, "Post");
}

TEST_F(EntryDialog, ThePasswordButtonReplacesOnlyTheTextThePasswordFieldShows)
{
    Windows()
        .ExpectDialog(IDD_ENTRY)
        .SetText(IDC_PASSWORD, "typed by hand")
        .Press(IDC_GENERATE_PASSWORD)
        .ExpectText(IDC_PASSWORD, "acikynef")
        .ExpectText(IDC_ACCOUNT, "Caf\xE9 Bank")
        .ExpectText(IDC_NOTES, "PIN 1234\r\nsecond line\r\n")
        .Press(IDOK);
    Windows()
        .ExpectDialog(IDD_GENERATOR)
        .ExpectText(IDC_LENGTH, "8")
        .ExpectCheck(IDC_LOWER, 1)
        .ExpectCheck(IDC_UPPER, 0)
        .ExpectCheck(IDC_DIGITS, 0)
        .Press(IDOK);
    CEntryDlg entry;
    SetMembers(entry);
    EXPECT_EQ(entry.DoModal(), IDOK);
    EXPECT_EQ(entry.m_strPassword, "acikynef");
    EXPECT_EQ(entry.m_strAccount, "Caf\xE9 Bank");
    EXPECT_EQ(entry.m_strNotes, "PIN 1234\r\nsecond line\r\n");
    EXPECT_EQ(Windows().DialogsShown(), (std::vector<unsigned> {IDD_ENTRY, IDD_GENERATOR}));
}

TEST_F(EntryDialog, CancelAfterAGeneratedPasswordKeepsEveryMemberAsTheCallerSetIt)
{
    Windows()
        .ExpectDialog(IDD_ENTRY)
        .SetText(IDC_ACCOUNT, "changed")
        .Press(IDC_GENERATE_PASSWORD)
        .ExpectText(IDC_PASSWORD, "acikynef")
        .Press(IDCANCEL);
    Windows().ExpectDialog(IDD_GENERATOR).Press(IDOK);
    CEntryDlg entry;
    SetMembers(entry);
    EXPECT_EQ(entry.DoModal(), IDCANCEL);
    ExpectMembersAsSet(entry);
}

TEST_F(EntryDialog, EachGeneratorOpensAfreshAndOnlyTheLastPasswordIsReturned)
{
    Windows()
        .ExpectDialog(IDD_ENTRY)
        .Press(IDC_GENERATE_PASSWORD)
        .ExpectText(IDC_PASSWORD, "acikynefebo0")
        .Press(IDC_GENERATE_PASSWORD)
        .ExpectText(IDC_PASSWORD, "ityfosec")
        .Press(IDOK);
    Windows().ExpectDialog(IDD_GENERATOR).SetText(IDC_LENGTH, "12").SetCheck(IDC_DIGITS, 1).Press(IDOK);
    Windows()
        .ExpectDialog(IDD_GENERATOR)
        .ExpectText(IDC_LENGTH, "8")
        .ExpectCheck(IDC_LOWER, 1)
        .ExpectCheck(IDC_DIGITS, 0)
        .Press(IDOK);
    CEntryDlg entry;
    EXPECT_EQ(entry.DoModal(), IDOK);
    EXPECT_EQ(entry.m_strPassword, "ityfosec");
}

TEST_F(EntryDialog, ARefusedOrCancelledGeneratorLeavesTheFieldAsItWas)
{
    Windows()
        .ExpectDialog(IDD_ENTRY)
        .SetText(IDC_PASSWORD, "mine")
        .Tab()
        .Tab()
        .Tab()
        .ExpectFocus(IDC_GENERATE_PASSWORD)
        .PressEnter()
        .ExpectText(IDC_PASSWORD, "mine")
        .Press(IDOK);
    Windows().ExpectDialog(IDD_GENERATOR).SetText(IDC_LENGTH, "2").Press(IDOK).Press(IDCANCEL);
    Windows().ExpectMessageBox("Please enter an integer between 4 and 128.", IDOK);
    CEntryDlg entry;
    EXPECT_EQ(entry.DoModal(), IDOK);
    EXPECT_EQ(entry.m_strPassword, "mine");
    EXPECT_EQ(m_platform.random.Next(), 6648) << "nothing was drawn";
}

// Passes everything to the headless window system and notes the controls a dialog reads.
class ReadRecorder final : public platform::WindowSystem {
public:
    explicit ReadRecorder(platform::HeadlessWindowSystem& windows)
        : m_windows(windows)
    {
    }

    std::unique_ptr<platform::FrameWindow> CreateFrameWindow(
        const platform::FrameTemplate& frame, platform::FrameWindowEvents& events) override
    {
        return m_windows.CreateFrameWindow(frame, events);
    }
    int RunModalDialog(const platform::DialogTemplate& dialog, platform::DialogEvents& events) override
    {
        Events recording(events, m_reads);
        return m_windows.RunModalDialog(dialog, recording);
    }
    int ShowMessageBox(const platform::MessageBoxRequest& request) override
    {
        return m_windows.ShowMessageBox(request);
    }
    std::optional<std::filesystem::path> ChooseFile(const platform::FileDialogRequest& request) override
    {
        return m_windows.ChooseFile(request);
    }
    void SetWaitCursor(bool waiting) override { m_windows.SetWaitCursor(waiting); }
    void Post(std::function<void()> task) override { m_windows.Post(std::move(task)); }
    int RunMessageLoop() override { return m_windows.RunMessageLoop(); }
    void Quit(int exitCode) override { m_windows.Quit(exitCode); }

    const std::vector<int>& Reads() const { return m_reads; }

private:
    class Window final : public platform::DialogWindow {
    public:
        Window(platform::DialogWindow& window, std::vector<int>& reads)
            : m_window(window)
            , m_reads(reads)
        {
        }
        std::string GetControlText(int id) const override
        {
            m_reads.push_back(id);
            return m_window.GetControlText(id);
        }
        void SetControlText(int id, std::string_view text) override { m_window.SetControlText(id, text); }
        int GetCheck(int id) const override { return m_window.GetCheck(id); }
        void SetCheck(int id, int checked) override { m_window.SetCheck(id, checked); }
        void SetFocus(int id) override { m_window.SetFocus(id); }
        void SelectAllText(int id) override { m_window.SelectAllText(id); }
        void EndDialog(int result) override { m_window.EndDialog(result); }

    private:
        platform::DialogWindow& m_window;
        std::vector<int>& m_reads;
    };

    class Events final : public platform::DialogEvents {
    public:
        Events(platform::DialogEvents& events, std::vector<int>& reads)
            : m_events(events)
            , m_reads(reads)
        {
        }
        void OnInitDialog(platform::DialogWindow& window) override { m_events.OnInitDialog(Wrap(window)); }
        void OnCommand(platform::DialogWindow& window, int id) override { m_events.OnCommand(Wrap(window), id); }

    private:
        Window& Wrap(platform::DialogWindow& window)
        {
            if (!m_window)
                m_window.emplace(window, m_reads);
            return *m_window;
        }
        platform::DialogEvents& m_events;
        std::vector<int>& m_reads;
        std::optional<Window> m_window;
    };

    platform::HeadlessWindowSystem& m_windows;
    std::vector<int> m_reads;
};

TEST(EntryDialogReading, OKReadsTheFieldsBackInItsOrder)
{
    platform::HeadlessPlatform headless([](const std::string& problem) { ADD_FAILURE() << problem; });
    ReadRecorder recorder(headless.windows);
    CWinApp app({recorder, headless.files, headless.clipboard, headless.shell, headless.userSettings,
                    headless.documentTypes, headless.random, headless.clock},
        SekretaResources());
    headless.windows.ExpectDialog(IDD_ENTRY).Press(IDOK);
    CEntryDlg entry;
    EXPECT_EQ(entry.DoModal(), IDOK);
    EXPECT_EQ(recorder.Reads(), (std::vector<int> {IDC_ACCOUNT, IDC_PASSWORD, IDC_USER, IDC_URL, IDC_NOTES}));
    headless.windows.VerifyAllScriptsUsed();
}

}  // namespace
}  // namespace sekreta::test
