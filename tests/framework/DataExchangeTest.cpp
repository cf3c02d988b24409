// Dialogs: members to controls and back, and what a wrong entry does.
#include "framework/CDataExchange.h"
#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "framework/CWinApp.h"
#include "framework/UnsignedText.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace sekreta {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

constexpr unsigned kDialog = 200;
constexpr int kName = 10;
constexpr int kLength = 11;
constexpr int kCheck = 12;
constexpr int kFill = 13;
constexpr std::uint32_t kField = platform::TabStop | platform::Border | platform::AutoHorizontalScroll;

constexpr platform::ControlTemplate kControls[] = {
    {platform::ControlKind::Edit, kName, "", 0, 0, 60, 12, kField},
    {platform::ControlKind::Edit, kLength, "", 0, 20, 40, 12, kField},
    {platform::ControlKind::CheckBox, kCheck, "&Check", 0, 0, 10, 10, platform::TabStop},
    {platform::ControlKind::DefaultPushButton, IDOK, "OK", 0, 0, 10, 10, platform::TabStop},
    {platform::ControlKind::PushButton, IDCANCEL, "Cancel", 0, 0, 10, 10, platform::TabStop},
    {platform::ControlKind::PushButton, kFill, "&Fill", 0, 0, 10, 10, platform::TabStop},
};
constexpr platform::DialogTemplate kDialogs[] = {{kDialog, "Settings", 100, 100, "MS Sans Serif", 8, kControls}};
constexpr platform::StringResource kStrings[] = {{57344, "Sekreta"}};
const platform::ResourceSet kResources {{}, {}, {}, kDialogs, kStrings, {}};

class SettingsDialog : public CDialog {
public:
    SettingsDialog()
        : CDialog(kDialog)
    {
    }
    std::string m_strName;
    std::uint32_t m_nLength = 0;
    int m_bCheck = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, kName, m_strName);
        DDX_Text(dx, kLength, m_nLength);
        DDV_MinMaxUInt(dx, m_nLength, 4, 128);
        DDX_Check(dx, kCheck, m_bCheck);
    }
};

// Its "Fill" button replaces what the name field shows through an attached edit.
class FillingDialog : public SettingsDialog {
public:
    static const CommandMap& ClassCommandMap()
    {
        static const CommandMap map {&CDialog::ClassCommandMap(), {MapCommand(kFill, &FillingDialog::OnFill)}};
        return map;
    }
    CEdit m_editName;

protected:
    const CommandMap& GetCommandMap() const override { return ClassCommandMap(); }
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, kName, m_editName);
        SettingsDialog::DoDataExchange(dx);
    }
    void OnFill() { m_editName.SetWindowText("filled"); }
};

class DataExchange : public testing::Test {
protected:
    ~DataExchange() override { m_platform.windows.VerifyAllScriptsUsed(); }

    platform::HeadlessPlatform m_platform {[](const std::string& problem) { ADD_FAILURE() << problem; }};
    CWinApp m_app {m_platform.Get(), kResources};
};

TEST_F(DataExchange, MembersAreShownAndReadBackOnOK)
{
    m_platform.windows.ExpectDialog(kDialog)
        .ExpectText(kName, "bytes \xE9")
        .ExpectText(kLength, "8")
        .ExpectCheck(kCheck, 1)
        .ExpectFocus(kName, true)
        .SetText(kName, "other")
        .SetText(kLength, " +12\t")
        .SetCheck(kCheck, 0)
        .Press(IDOK);
    SettingsDialog dialog;
    dialog.m_strName = "bytes \xE9";
    dialog.m_nLength = 8;
    dialog.m_bCheck = 1;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "other");
    EXPECT_EQ(dialog.m_nLength, 12u);
    EXPECT_EQ(dialog.m_bCheck, 0);
}

TEST_F(DataExchange, CancelReadsNothingBack)
{
    m_platform.windows.ExpectDialog(kDialog).SetText(kName, "changed").Press(IDCANCEL);
    SettingsDialog dialog;
    dialog.m_strName = "kept";
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_strName, "kept");
}

TEST_F(DataExchange, AWrongNumberKeepsTheDialogOpenWithTheFieldSelected)
{
    m_platform.windows.ExpectDialog(kDialog)
        .SetText(kLength, "12a")
        .SetCheck(kCheck, 1)
        .Press(IDOK)
        .ExpectFocus(kLength, true)
        .SetText(kLength, "129")
        .Press(IDOK)
        .ExpectFocus(kLength, true)
        .SetText(kLength, "0")
        .Press(IDOK)
        .SetText(kLength, "128")
        .Press(IDOK);
    m_platform.windows.ExpectMessageBox("Please enter a positive integer.", IDOK);
    m_platform.windows.ExpectMessageBox("Please enter an integer between 4 and 128.", IDOK);
    m_platform.windows.ExpectMessageBox("Please enter an integer between 4 and 128.", IDOK);
    SettingsDialog dialog;
    dialog.m_nLength = 8;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nLength, 128u);
    EXPECT_EQ(dialog.m_bCheck, 1);
    for (const platform::MessageBoxRequest& box : m_platform.windows.MessageBoxes()) {
        EXPECT_EQ(box.icon, platform::MessageIcon::Exclamation);
        EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(box.caption, "Sekreta");
    }
}

TEST_F(DataExchange, AFailedCheckLeavesTheLaterMembersUnread)
{
    m_platform.windows.ExpectDialog(kDialog).SetText(kLength, "-1").SetCheck(kCheck, 1).Press(IDOK).Press(IDCANCEL);
    m_platform.windows.ExpectMessageBox("Please enter a positive integer.", IDOK);
    SettingsDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_bCheck, 0);
}

TEST_F(DataExchange, AnAttachedEditReachesItsFieldOnlyWhileTheDialogRuns)
{
    m_platform.windows.ExpectDialog(kDialog)
        .ExpectText(kName, "member")
        .Press(kFill)
        .ExpectText(kName, "filled")
        .SetText(kLength, "8")
        .Press(IDOK);
    FillingDialog dialog;
    dialog.m_strName = "member";
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, "filled");
    EXPECT_FALSE(dialog.IsRunning());
    // The dialog's window is gone: the edit must not reach for it.
    dialog.m_editName.SetWindowText("late");
    EXPECT_EQ(dialog.m_strName, "filled");
}

TEST(ParseUnsigned, TakesDecimalDigitsWithBlanksAndAPlusSign)
{
    const std::pair<const char*, std::uint64_t> accepted[] = {{"12", 12}, {"  12\t", 12}, {"+12", 12}, {"\t+0012 ", 12},
        {"0", 0}, {"4294967296", 4294967296u}, {"99999999999999999999999", UINT64_MAX}};
    for (const auto& [text, expected] : accepted)
        EXPECT_EQ(ParseUnsigned(text), expected) << text;
    for (const char* text : {"", " ", "+", "-1", "-0", "12a", "0x10", "1 2", "++1", "1e3", "\n12"})
        EXPECT_EQ(ParseUnsigned(text), std::nullopt) << '"' << text << '"';
}

TEST_F(DataExchange, ANumberTooLargeForTheFieldIsOutOfRange)
{
    m_platform.windows.ExpectDialog(kDialog).SetText(kLength, "99999999999").Press(IDOK).Press(IDCANCEL);
    m_platform.windows.ExpectMessageBox("Please enter an integer between 4 and 128.", IDOK);
    SettingsDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace sekreta
