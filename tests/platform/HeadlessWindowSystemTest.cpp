#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/headless/HeadlessFrameWindow.h"

#include <gtest/gtest.h>

namespace sekreta::platform {
namespace {

constexpr int IDC_PASSPHRASE = 1003;
constexpr int IDC_SHOW = 1004;
constexpr int IDC_GENERATE = 1010;
constexpr int IDC_PASSWORD = 1020;

constexpr ControlTemplate passPhraseControls[] = {
    {ControlKind::GroupBox, IDC_STATIC, "Protection", 4, 4, 190, 50, TabStop},
    {ControlKind::Label, IDC_STATIC, "&Pass phrase:", 7, 14, 60, 8, NoStyle},
    {ControlKind::Edit, IDC_PASSPHRASE, "ignored", 70, 12, 100, 12, TabStop | Border | AutoHorizontalScroll},
    {ControlKind::CheckBox, IDC_SHOW, "&Show", 70, 30, 60, 10, TabStop},
    {ControlKind::PushButton, IDC_GENERATE, "&Generate", 140, 30, 50, 14, TabStop},
    {ControlKind::DefaultPushButton, IDOK, "OK", 90, 60, 50, 14, TabStop},
    {ControlKind::PushButton, IDCANCEL, "Cancel", 144, 60, 50, 14, TabStop},
};
constexpr DialogTemplate passPhraseDialog {130, "Pass Phrase", 200, 80, "MS Sans Serif", 8, passPhraseControls};

constexpr ControlTemplate generatorControls[] = {
    {ControlKind::Edit, IDC_PASSWORD, "", 7, 7, 100, 12, TabStop | Border},
    {ControlKind::DefaultPushButton, IDOK, "OK", 7, 30, 50, 14, TabStop},
};
constexpr DialogTemplate generatorDialog {131, "Password Generator", 120, 50, "MS Sans Serif", 8, generatorControls};

const std::string tooShort = "The pass phrase needs at least 4 characters.";

class GeneratorEvents final : public DialogEvents {
public:
    void OnInitDialog(DialogWindow& dialog) override { dialog.SetControlText(IDC_PASSWORD, "Kavu-Tepo"); }
    void OnCommand(DialogWindow& dialog, int id) override
    {
        password = dialog.GetControlText(IDC_PASSWORD);
        dialog.EndDialog(id);
    }
    std::string password;
};

// Like the program's pass phrase dialog: OK is refused with a message until the pass phrase
// has 4 characters, and "Generate" fills it from a nested dialog.
class PassPhraseEvents final : public DialogEvents {
public:
    explicit PassPhraseEvents(WindowSystem& windows)
        : m_windows(windows)
    {
    }

    void OnInitDialog(DialogWindow& dialog) override
    {
        ++initCalls;
        if (initial.empty())
            return;
        dialog.SetControlText(IDC_PASSPHRASE, initial);
        dialog.SelectAllText(IDC_PASSPHRASE);
    }
    void OnCommand(DialogWindow& dialog, int id) override
    {
        commands.push_back(id);
        if (id == IDC_GENERATE) {
            GeneratorEvents generator;
            if (m_windows.RunModalDialog(generatorDialog, generator) == IDOK)
                dialog.SetControlText(IDC_PASSPHRASE, generator.password);
        } else if (id == IDOK) {
            const std::string text = dialog.GetControlText(IDC_PASSPHRASE);
            if (text.size() < 4) {
                m_windows.ShowMessageBox({tooShort, "Sekreta", MessageButtons::Ok, MessageIcon::Exclamation});
                dialog.SetFocus(IDC_PASSPHRASE);
                dialog.SelectAllText(IDC_PASSPHRASE);
                return;
            }
            accepted = text;
            shown = dialog.GetCheck(IDC_SHOW);
            dialog.EndDialog(IDOK);
        } else if (id == IDCANCEL) {
            dialog.EndDialog(IDCANCEL);
        }
    }

    std::string initial;
    int initCalls = 0;
    std::vector<int> commands;
    std::string accepted;
    int shown = -1;

private:
    WindowSystem& m_windows;
};

class NoFrameEvents final : public FrameWindowEvents {
public:
    void OnCommand(unsigned, CommandSource) override { }
    void OnInitMenuPopup(Menu&) override { }
    void OnIdleUpdate(CommandItems&) override { }
    void OnClose() override { }
    void OnListDoubleClick() override { }
    void OnListContextMenu(Point) override { }
    void OnDropFiles(const std::vector<std::filesystem::path>&) override { }
    bool OnShellRequest(std::string_view) override { return false; }
    void OnMenuSelect(unsigned) override { }
    std::string GetToolTipText(unsigned) override { return {}; }
    bool OnQueryEndSession() override { return true; }
    void OnEndSession() override { }
};

using Problems = std::vector<std::string>;

class HeadlessWindowSystemTest : public testing::Test {
protected:
    Problems m_problems;
    HeadlessWindowSystem m_windows {[this](const std::string& problem) { m_problems.push_back(problem); }};
    PassPhraseEvents m_events {m_windows};
};

TEST_F(HeadlessWindowSystemTest, ScriptDrivesTheDialogStepByStep)
{
    m_events.initial = "old";
    m_windows.ExpectDialog(130)
        .ExpectText(IDC_GENERATE, "&Generate")
        .ExpectText(IDC_PASSPHRASE, "old")
        .ExpectFocus(IDC_PASSPHRASE, true)
        .SetText(IDC_PASSPHRASE, "abc")
        .ExpectFocus(IDC_PASSPHRASE, false)
        .Press(IDOK)
        .ExpectFocus(IDC_PASSPHRASE, true)
        .ExpectText(IDC_PASSPHRASE, "abc")
        .SetText(IDC_PASSPHRASE, "abcd")
        .SetCheck(IDC_SHOW, 1)
        .ExpectCheck(IDC_SHOW, 1)
        .Press(IDOK);
    m_windows.ExpectMessageBox(tooShort, IDOK);

    EXPECT_EQ(m_windows.RunModalDialog(passPhraseDialog, m_events), IDOK);
    m_windows.VerifyAllScriptsUsed();

    EXPECT_EQ(m_problems, Problems {});
    EXPECT_EQ(m_events.initCalls, 1);
    EXPECT_EQ(m_events.commands, (std::vector<int> {IDOK, IDOK}));
    EXPECT_EQ(m_events.accepted, "abcd");
    EXPECT_EQ(m_events.shown, 1);
    EXPECT_EQ(m_windows.DialogsShown(), std::vector<unsigned> {130});
    ASSERT_EQ(m_windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_windows.MessageBoxes()[0].text, tooShort);
    EXPECT_EQ(m_windows.MessageBoxes()[0].caption, "Sekreta");
    EXPECT_EQ(m_windows.MessageBoxes()[0].icon, MessageIcon::Exclamation);
}

TEST_F(HeadlessWindowSystemTest, NestedDialogTakesTheNextScriptWhileTheOuterOneWaits)
{
    // Both built after queueing: the first reference must survive the second ExpectDialog.
    DialogScript& outer = m_windows.ExpectDialog(130);
    DialogScript& inner = m_windows.ExpectDialog(131);
    outer.Press(IDC_GENERATE).ExpectText(IDC_PASSPHRASE, "mine").Press(IDOK);
    inner.ExpectFocus(IDC_PASSWORD, true)
        .ExpectText(IDC_PASSWORD, "Kavu-Tepo")
        .SetText(IDC_PASSWORD, "mine")
        .Press(IDOK);

    EXPECT_EQ(m_windows.RunModalDialog(passPhraseDialog, m_events), IDOK);
    m_windows.VerifyAllScriptsUsed();

    EXPECT_EQ(m_problems, Problems {});
    EXPECT_EQ(m_events.accepted, "mine");
    EXPECT_EQ(m_windows.DialogsShown(), (std::vector<unsigned> {130, 131}));
}

TEST_F(HeadlessWindowSystemTest, UnscriptedDialogIsReportedAndCancelledWithoutRunning)
{
    EXPECT_EQ(m_windows.RunModalDialog(passPhraseDialog, m_events), IDCANCEL);
    m_windows.ExpectMessageBox("Save changes?", IDYES);
    EXPECT_EQ(m_windows.RunModalDialog(passPhraseDialog, m_events), IDCANCEL);
    m_windows.ExpectDialog(131).Press(IDOK);
    m_windows.VerifyAllScriptsUsed();
    m_windows.VerifyAllScriptsUsed();

    EXPECT_EQ(m_events.initCalls, 0);
    EXPECT_EQ(m_problems,
        (Problems {
            "dialog 130 \"Pass Phrase\" appeared but nothing was scripted for it",
            "dialog 130 \"Pass Phrase\" appeared but the script expected message box answer 6 (\"Save changes?\")",
            "scripted message box answer 6 (\"Save changes?\") never appeared",
            "scripted dialog 131 never appeared",
        }));
}

TEST_F(HeadlessWindowSystemTest, ScriptThatDoesNotFitTheDialogIsReported)
{
    m_windows.ExpectDialog(130)
        .ExpectText(IDC_PASSPHRASE, "abc")
        .ExpectFocus(IDC_SHOW)
        .ExpectFocus(IDC_PASSPHRASE, false)
        .ExpectCheck(IDC_SHOW, 1)
        .SetText(999, "x")
        .SetText(IDC_GENERATE, "x")
        .SetCheck(IDC_PASSPHRASE, 1)
        .Press(IDC_SHOW)
        .Press(IDCANCEL)
        .SetText(IDC_PASSPHRASE, "late")
        .Press(IDOK);
    m_windows.ExpectDialog(130).SetText(IDC_PASSPHRASE, "ab");

    EXPECT_EQ(m_windows.RunModalDialog(passPhraseDialog, m_events), IDCANCEL);
    EXPECT_EQ(m_windows.RunModalDialog(passPhraseDialog, m_events), IDCANCEL);

    EXPECT_EQ(m_events.commands, std::vector<int> {IDCANCEL});
    EXPECT_EQ(m_problems,
        (Problems {
            "dialog 130: control 1003 shows \"\" but the script expected \"abc\"",
            "dialog 130: focus is on control 1003 but the script expected control 1004",
            "dialog 130: control 1003 has its whole text selected but the script expected it not to",
            "dialog 130: control 1004 has check 0 but the script expected 1",
            "dialog 130 has no control 999",
            "dialog 130: control 1010 is not an edit control",
            "dialog 130: control 1003 is not a check box",
            "dialog 130: control 1004 is not a button",
            "dialog 130 closed with 2 scripted steps left",
            "dialog 130 is still open with nothing left to do",
        }));
}

constexpr int IDC_NAME = 1030;
constexpr int IDC_CODE = 1031;
constexpr int IDC_NOTE = 1032;
constexpr int IDC_APPLY = 1033;
constexpr int IDC_HIDDEN = 1034;

// Fields of every kind of width and line: the code field does not scroll and shows 5 characters.
constexpr ControlTemplate formControls[] = {
    {ControlKind::Label, IDC_STATIC, "&Name:", 4, 4, 30, 8, NoStyle},
    {ControlKind::Edit, IDC_NAME, "", 40, 4, 60, 12, TabStop | Border | AutoHorizontalScroll},
    {ControlKind::Edit, IDC_HIDDEN, "", 40, 18, 60, 12, Border},
    {ControlKind::Edit, IDC_CODE, "", 40, 32, 23, 12, TabStop | Border},
    {ControlKind::Edit, IDC_NOTE, "", 4, 50, 100, 40,
        TabStop | Border | MultiLine | WantReturn | AutoHorizontalScroll | AutoVerticalScroll},
    {ControlKind::PushButton, IDC_APPLY, "&Apply", 4, 96, 40, 14, TabStop},
    {ControlKind::DefaultPushButton, IDOK, "OK", 50, 96, 40, 14, TabStop},
    {ControlKind::PushButton, IDCANCEL, "Cancel", 96, 96, 40, 14, TabStop},
};
constexpr DialogTemplate formDialog {140, "Form", 150, 120, "MS Sans Serif", 8, formControls};

// Fills the fields when the dialog opens, notes every button, and reads the fields on OK.
class FormEvents final : public DialogEvents {
public:
    void OnInitDialog(DialogWindow& dialog) override
    {
        for (const auto& [id, text] : initial)
            dialog.SetControlText(id, text);
    }
    void OnCommand(DialogWindow& dialog, int id) override
    {
        commands.push_back(id);
        if (id == IDOK) {
            for (const int field : {IDC_NAME, IDC_CODE, IDC_NOTE})
                read.push_back(dialog.GetControlText(field));
        }
        if (id == IDOK || id == IDCANCEL)
            dialog.EndDialog(id);
    }

    std::vector<std::pair<int, std::string>> initial;
    std::vector<int> commands;
    std::vector<std::string> read;
};

TEST_F(HeadlessWindowSystemTest, AFieldThatDoesNotScrollRefusesWhatGoesBeyondItsWidth)
{
    FormEvents form;
    form.initial = {{IDC_CODE, "set by the program"}};
    m_windows.ExpectDialog(140)
        .ExpectText(IDC_CODE, "set by the program")
        .SetText(IDC_CODE, "abcdefgh")
        .ExpectText(IDC_CODE, "abcde")
        .Type("x")
        .ExpectText(IDC_CODE, "abcde")
        .SetText(IDC_CODE, "\xC3\xA9t\xC3\xA9")
        .Type("\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC")
        .ExpectText(IDC_CODE, "\xC3\xA9t\xC3\xA9\xE2\x82\xAC\xE2\x82\xAC")
        .SetText(IDC_NAME, std::string(300, 'n'))
        .SetText(IDC_NOTE, std::string(300, 'o'))
        .Press(IDOK);

    EXPECT_EQ(m_windows.RunModalDialog(formDialog, form), IDOK);
    EXPECT_EQ(m_problems, Problems {});
    EXPECT_EQ(form.read,
        (std::vector<std::string> {
            std::string(300, 'n'), "\xC3\xA9t\xC3\xA9\xE2\x82\xAC\xE2\x82\xAC", std::string(300, 'o')}));
    EXPECT_EQ(m_windows.Beeps(), 5) << "one for each refused character";
}

TEST_F(HeadlessWindowSystemTest, TabClickAndEnterFollowTheFocus)
{
    FormEvents form;
    form.initial = {{IDC_NAME, "old"}};
    m_windows.ExpectDialog(140)
        .ExpectFocus(IDC_NAME, true)
        .Type("new")
        .ExpectFocus(IDC_NAME, false)
        .Tab()
        .ExpectFocus(IDC_CODE, true)
        .Tab()
        .ExpectFocus(IDC_NOTE, true)
        .Type("one")
        .PressEnter()
        .Type("two")
        .Tab()
        .ExpectFocus(IDC_APPLY)
        .PressEnter()
        .Type("refused")
        .Tab()
        .Tab()
        .ExpectFocus(IDCANCEL)
        .Tab()
        .ExpectFocus(IDC_NAME, true)
        .Press(IDC_APPLY)
        .ExpectFocus(IDC_APPLY)
        .ClickAfterText(IDC_NOTE)
        .PressEnter()
        .ClickAfterText(IDC_NAME)
        .Type("er")
        .PressEnter();

    EXPECT_EQ(m_windows.RunModalDialog(formDialog, form), IDOK);
    EXPECT_EQ(m_problems,
        Problems {"dialog 140: typing \"refused\" but focus is on control 1033, which is not an edit control"});
    EXPECT_EQ(form.commands, (std::vector<int> {IDC_APPLY, IDC_APPLY, IDOK}));
    EXPECT_EQ(form.read, (std::vector<std::string> {"newer", "", "one\r\ntwo\r\n"}));
}

TEST_F(HeadlessWindowSystemTest, TextThatIsNotUtf8ComesBackUnlessTheUserEditsIt)
{
    FormEvents form;
    form.initial = {{IDC_NAME, "Caf\xE9"}, {IDC_NOTE, "Caf\xE9\r\n\x80"}};
    m_windows.ExpectDialog(140)
        .ExpectText(IDC_NAME, "Caf\xE9")
        .ClickAfterText(IDC_NOTE)
        .Type("!")
        .ExpectText(IDC_NOTE, "Caf\xC3\xA9\r\n\xE2\x82\xAC!")
        .Press(IDOK);

    EXPECT_EQ(m_windows.RunModalDialog(formDialog, form), IDOK);
    EXPECT_EQ(m_problems, Problems {});
    EXPECT_EQ(form.read, (std::vector<std::string> {"Caf\xE9", "", "Caf\xC3\xA9\r\n\xE2\x82\xAC!"}));
}

TEST_F(HeadlessWindowSystemTest, MessageBoxAnswersAreCheckedAgainstTheBox)
{
    m_windows.ExpectMessageBox("Delete the entry?", IDYES);
    m_windows.ExpectMessageBox("Other text", IDNO);
    m_windows.ExpectMessageBox(IDYES);

    EXPECT_EQ(m_windows.ShowMessageBox({"Delete the entry?", "Sekreta", MessageButtons::YesNo}), IDYES);
    EXPECT_EQ(m_windows.ShowMessageBox({"Save changes?", "Sekreta", MessageButtons::YesNoCancel}), IDNO);
    EXPECT_EQ(m_windows.ShowMessageBox({"Saved.", "Sekreta", MessageButtons::Ok}), IDYES);

    EXPECT_EQ(m_problems,
        (Problems {
            "message box \"Save changes?\" appeared but the script expected \"Other text\"",
            "message box \"Saved.\" has no button for the scripted answer 6",
        }));
    EXPECT_EQ(m_windows.MessageBoxes().size(), 3u);
}

TEST_F(HeadlessWindowSystemTest, UnscriptedMessageBoxIsDismissedTheSafeWay)
{
    EXPECT_EQ(m_windows.ShowMessageBox({"Done.", "Sekreta", MessageButtons::Ok}), IDOK);
    EXPECT_EQ(m_windows.ShowMessageBox({"Sure?", "Sekreta", MessageButtons::YesNo}), IDNO);
    EXPECT_EQ(m_windows.ShowMessageBox({"Save?", "Sekreta", MessageButtons::YesNoCancel}), IDCANCEL);
    m_windows.ExpectFileDialog("/tmp/a.sek");
    EXPECT_EQ(m_windows.ShowMessageBox({"Go on?", "Sekreta", MessageButtons::OkCancel}), IDCANCEL);

    EXPECT_EQ(m_problems,
        (Problems {
            "message box \"Done.\" appeared but nothing was scripted for it",
            "message box \"Sure?\" appeared but nothing was scripted for it",
            "message box \"Save?\" appeared but nothing was scripted for it",
            "message box \"Go on?\" appeared but the script expected file dialog answer",
        }));
}

TEST_F(HeadlessWindowSystemTest, FileDialogsAreAnsweredInOrder)
{
    m_windows.ExpectFileDialog("/tmp/a.sek");
    m_windows.ExpectFileDialog(std::nullopt);
    m_windows.ExpectFileDialog("/tmp/never.sek");

    FileDialogRequest open;
    open.title = "Open";
    EXPECT_EQ(m_windows.ChooseFile(open), std::filesystem::path("/tmp/a.sek"));
    EXPECT_EQ(m_windows.ChooseFile(open), std::nullopt);
    m_windows.VerifyAllScriptsUsed();
    EXPECT_EQ(m_windows.ChooseFile(open), std::nullopt);

    EXPECT_EQ(m_windows.FileDialogs().size(), 3u);
    EXPECT_EQ(m_problems,
        (Problems {
            "scripted file dialog answer never appeared",
            "file dialog \"Open\" appeared but nothing was scripted for it",
        }));
}

TEST_F(HeadlessWindowSystemTest, FramesAndWaitCursor)
{
    NoFrameEvents events;
    auto first = m_windows.CreateFrameWindow({}, events);
    auto second = m_windows.CreateFrameWindow({}, events);
    first.reset();
    ASSERT_EQ(m_windows.Frames().size(), 1u);
    EXPECT_EQ(static_cast<FrameWindow*>(m_windows.Frames()[0]), second.get());

    m_windows.SetWaitCursor(true);
    m_windows.SetWaitCursor(true);
    m_windows.SetWaitCursor(false);
    EXPECT_TRUE(m_windows.IsWaitCursorShown());
    m_windows.SetWaitCursor(false);
    m_windows.SetWaitCursor(false);
    m_windows.SetWaitCursor(true);
    EXPECT_TRUE(m_windows.IsWaitCursorShown()) << "an extra end must not swallow the next begin";
}

}  // namespace
}  // namespace sekreta::platform
