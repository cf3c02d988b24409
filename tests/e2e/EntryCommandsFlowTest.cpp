// The commands on entries as the user meets them: adding, modifying and deleting through the
// entry dialog, the clipboard commands, going to a URL and generating a password, each enabled
// only when it applies in the menu, the context menu, the tool bar and its key.
#include "TestApp.h"

#include "dialogs/ProductInfo.h"
#include "framework/FrameworkIds.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta::test {
namespace {

using platform::IDCANCEL;
using platform::IDOK;
using platform::Key;
using platform::Modifier;

struct Entry {
    std::string account;
    std::string url;
    std::string user;
    std::string password;
    std::string notes;
};

// Whether a command is enabled in the Edit or Tools menu, the context menu and the tool bar.
struct Places {
    bool menu;
    bool contextMenu;
    bool toolBar;
    bool operator==(const Places&) const = default;
};

class EntryCommands : public ProgramTest {
protected:
    platform::HeadlessListControl& List() { return Frame().HeadlessList(); }

    // The entry dialog opens showing `shown` (nothing: not checked) and is closed with OK after
    // the texts of `typed` (nothing: left as they are) are typed in.
    void ExpectEntryDialog(std::optional<Entry> shown, std::optional<Entry> typed, int button = IDOK)
    {
        platform::DialogScript& script = m_platform.windows.ExpectDialog(IDD_ENTRY);
        if (shown) {
            script.ExpectText(IDC_ACCOUNT, shown->account)
                .ExpectText(IDC_URL, shown->url)
                .ExpectText(IDC_USER, shown->user)
                .ExpectText(IDC_PASSWORD, shown->password)
                .ExpectText(IDC_NOTES, shown->notes);
        }
        if (typed) {
            script.SetText(IDC_ACCOUNT, typed->account)
                .SetText(IDC_URL, typed->url)
                .SetText(IDC_USER, typed->user)
                .SetText(IDC_PASSWORD, typed->password)
                .SetText(IDC_NOTES, typed->notes);
        }
        script.Press(button);
    }

    void Add(const Entry& entry)
    {
        ExpectEntryDialog(Entry {"", "http://", "", "", ""}, entry);
        EXPECT_TRUE(Frame().ChooseMenuItem(ID_EDIT_ADD));
    }

    Places EnabledIn(unsigned id)
    {
        Places places {};
        for (const char* popup : {"&Edit", "&Tools"}) {
            for (const auto& item : Frame().OpenMenu(popup)) {
                if (item.id == id)
                    places.menu = item.enabled;
            }
        }
        for (const auto& item : Frame().RightClickList({5, 5}, std::nullopt)) {
            if (item.id == id)
                places.contextMenu = item.enabled;
        }
        Frame().Idle();
        for (const auto& button : Frame().ToolBarButtons()) {
            if (button.id == id)
                places.toolBar = button.enabled;
        }
        return places;
    }
};

constexpr Places kEverywhere {true, true, true};
constexpr Places kNowhere {false, false, false};

TEST_F(EntryCommands, AddOnAnEmptyDocumentSelectsTheNewRowAndEnablesModifyAndDelete)
{
    EXPECT_EQ(EnabledIn(ID_EDIT_MODIFY), kNowhere);
    EXPECT_EQ(EnabledIn(ID_EDIT_DELETE), kNowhere);
    Add({"Bank", "https://bank.example", "me", "s3cret", "line 1\r\nline 2"});

    EXPECT_EQ(Doc().m_records,
        (std::vector<AccountRecord> {{"Bank", "https://bank.example", "me", "s3cret", "line 1\r\nline 2"}}));
    EXPECT_EQ(List().Rows(), (std::vector<std::vector<std::string>> {{"Bank", "me", "https://bank.example"}}));
    EXPECT_EQ(List().SelectedRow(), 0);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(EnabledIn(ID_EDIT_MODIFY), kEverywhere);
    EXPECT_EQ(EnabledIn(ID_EDIT_DELETE), kEverywhere);
}

TEST_F(EntryCommands, AUrlLeftAtTheBarePrefixIsStoredEmptyAndShownAsThePrefixAgain)
{
    Add({"Mail", "http://", "me", "pw", ""});
    EXPECT_EQ(Doc().m_records.back().url, "");
    EXPECT_EQ(EnabledIn(ID_EDIT_COPYURL), kNowhere);
    EXPECT_EQ(EnabledIn(ID_TOOLS_GOTOURL), kNowhere);

    ExpectEntryDialog(Entry {"Mail", "http://", "me", "pw", ""}, std::nullopt);
    EXPECT_TRUE(Frame().PressKey(Key::Return));
    EXPECT_EQ(Doc().m_records.back().url, "");

    Add({"Shop", "HTTP://", "", "", ""});
    EXPECT_EQ(Doc().m_records.back().url, "HTTP://") << "only the exact prefix counts";
    EXPECT_EQ(EnabledIn(ID_EDIT_COPYURL), kEverywhere);
}

TEST_F(EntryCommands, CancelledAddOrModifyChangesNothing)
{
    ExpectEntryDialog(std::nullopt, Entry {"Typed", "", "", "", ""}, IDCANCEL);
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_EDIT_ADD));
    EXPECT_TRUE(Doc().m_records.empty());
    EXPECT_TRUE(List().Rows().empty());
    EXPECT_FALSE(Doc().IsModified());

    Add({"Bank", "", "", "", ""});
    Doc().SetModifiedFlag(false);
    ExpectEntryDialog(std::nullopt, Entry {"Changed", "", "", "", ""}, IDCANCEL);
    Frame().DoubleClickList();
    EXPECT_EQ(Doc().m_records.front().account, "Bank");
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(EntryCommands, ModifyWithoutChangesStillMarksTheDocumentSoClosingAsks)
{
    Add({"Bank", "", "", "", ""});
    Doc().SetModifiedFlag(false);
    ExpectEntryDialog(Entry {"Bank", "http://", "", "", ""}, std::nullopt);
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_EDIT_MODIFY));
    EXPECT_TRUE(Doc().IsModified());

    ExpectMessage("Save changes to Untitled?", IDCANCEL);
    Frame().RequestClose();
}

TEST_F(EntryCommands, ModifyOfTheThirdOfFiveKeepsItsPlace)
{
    for (const char* account : {"A", "B", "C", "D", "E"})
        Add({account, "", "", "", ""});
    List().ClickRow(2);
    ExpectEntryDialog(Entry {"C", "http://", "", "", ""}, Entry {"C2", "https://c.example", "u", "p", "n"});
    Frame().DoubleClickList();

    EXPECT_EQ(List().Rows(),
        (std::vector<std::vector<std::string>> {
            {"A", "", ""}, {"B", "", ""}, {"C2", "u", "https://c.example"}, {"D", "", ""}, {"E", "", ""}}));
    EXPECT_EQ(Doc().m_records[2].notes, "n");
    EXPECT_EQ(List().SelectedRow(), 2);
}

TEST_F(EntryCommands, DeleteOfTheSecondOfThreeAsksNothingAndLeavesNoRowSelected)
{
    for (const char* account : {"A", "B", "C"})
        Add({account, "", "", "", ""});
    List().ClickRow(1);
    EXPECT_TRUE(Frame().PressKey(Key::D, platform::Control));

    EXPECT_EQ(List().Rows(), (std::vector<std::vector<std::string>> {{"A", "", ""}, {"C", "", ""}}));
    EXPECT_EQ(Doc().m_records.size(), 2u);
    EXPECT_EQ(List().SelectedRow(), -1);
    EXPECT_EQ(EnabledIn(ID_EDIT_MODIFY), kNowhere);
    EXPECT_EQ(EnabledIn(ID_EDIT_DELETE), kNowhere);
}

TEST_F(EntryCommands, EnterAndCtrlDWithNothingSelectedDoNothing)
{
    Add({"A", "", "", "", ""});
    List().ClickRow(-1);
    Doc().SetModifiedFlag(false);
    Frame().PressKey(Key::Return);
    Frame().PressKey(Key::D, platform::Control);
    Frame().DoubleClickList();
    EXPECT_EQ(Doc().m_records.size(), 1u);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(EntryCommands, CopyUsernameOfAnEntryWithoutUserIsDisabledEverywhereAndItsKeyKeepsTheClipboard)
{
    Add({"Bank", "https://bank.example", "", "s3cret", ""});
    EXPECT_EQ(EnabledIn(ID_EDIT_COPYUSERNAME), kNowhere);
    EXPECT_EQ(EnabledIn(ID_EDIT_COPYPASSWORD), kEverywhere);

    m_platform.clipboard.SetText("kept");
    Frame().PressKey(Key::U, platform::Control);
    EXPECT_EQ(m_platform.clipboard.Text(), "kept");

    Frame().PressKey(Key::P, platform::Control);
    EXPECT_EQ(m_platform.clipboard.Text(), "s3cret");
    EXPECT_TRUE(m_platform.clipboard.HoldsSecret());
    Frame().PressKey(Key::W, platform::Control);
    EXPECT_EQ(m_platform.clipboard.Text(), "https://bank.example");
    EXPECT_FALSE(m_platform.clipboard.HoldsSecret());
}

TEST_F(EntryCommands, TheContextMenuCommandsActOnTheSelectedEntry)
{
    Add({"Bank", "https://bank.example", "me", "s3cret", ""});
    Frame().RightClickList({40, 60}, ID_EDIT_COPYUSERNAME);
    EXPECT_EQ(m_platform.clipboard.Text(), "me");
    EXPECT_FALSE(m_platform.clipboard.HoldsSecret());
    EXPECT_EQ(Frame().LastPopupPoint(), (platform::Point {40, 60}));
}

TEST_F(EntryCommands, GotoUrlPutsThePasswordOnTheClipboardFirstEvenWhenEmpty)
{
    Add({"Bank", "bank.example/login?a=1&b=2", "me", "", ""});
    m_platform.clipboard.SetText("old");
    EXPECT_TRUE(Frame().PressKey(Key::G, platform::Control));
    EXPECT_EQ(m_platform.clipboard.Text(), "");
    EXPECT_EQ(m_platform.shell.OpenedUrls(), std::vector<std::string> {"bank.example/login?a=1&b=2"});
}

TEST_F(EntryCommands, AUrlTheDesktopCannotOpenIsReportedWithThePasswordOnTheClipboard)
{
    Add({"Bank", "nowhere:x", "me", "s3cret", ""});
    m_platform.shell.SetOpenUrlSucceeds(false);
    ExpectMessage("Failed to connect automatically.");
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_TOOLS_GOTOURL));
    EXPECT_EQ(m_platform.clipboard.Text(), "s3cret");
    EXPECT_TRUE(m_platform.clipboard.HoldsSecret());
    EXPECT_EQ(m_platform.windows.MessageBoxes().back().icon, platform::MessageIcon::Exclamation);
}

TEST_F(EntryCommands, GeneratePasswordWithThePresetValuesGivesEightLowerCaseLetters)
{
    m_platform.windows.ExpectDialog(IDD_GENERATOR)
        .ExpectText(IDC_LENGTH, "8")
        .ExpectCheck(IDC_LOWER, 1)
        .ExpectCheck(IDC_UPPER, 0)
        .ExpectCheck(IDC_DIGITS, 0)
        .Press(IDOK);
    m_platform.windows.ExpectMessageBox(IDOK);
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_TOOLS_GENERATEPASSWORD));

    const std::optional<std::string> password = m_platform.clipboard.Text();
    ASSERT_TRUE(password);
    EXPECT_TRUE(m_platform.clipboard.HoldsSecret());
    EXPECT_EQ(password->size(), 8u);
    EXPECT_EQ(password->find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
    EXPECT_EQ(m_platform.windows.MessageBoxes().back().text,
        "The password " + *password + " has been copied to the clipboard");

    m_platform.windows.ExpectDialog(IDD_GENERATOR).Press(IDCANCEL);
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_TOOLS_GENERATEPASSWORD));
    EXPECT_EQ(m_platform.clipboard.Text(), password);
}

TEST_F(EntryCommands, TheEntryDialogsPasswordButtonFillsOnlyTheField)
{
    m_platform.windows.ExpectDialog(IDD_ENTRY)
        .SetText(IDC_ACCOUNT, "Bank")
        .SetText(IDC_PASSWORD, "typed")
        .Press(IDC_GENERATE_PASSWORD)
        .Press(IDOK);
    m_platform.windows.ExpectDialog(IDD_GENERATOR).Press(IDOK);
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_EDIT_ADD));
    const std::string password = Doc().m_records.front().password;
    EXPECT_EQ(password.size(), 8u);
    EXPECT_NE(password, "typed");
}

TEST_F(EntryCommands, NoClipboardCommandMarksTheDocument)
{
    Add({"Bank", "https://bank.example", "me", "s3cret", ""});
    Doc().SetModifiedFlag(false);
    Frame().PressKey(Key::W, platform::Control);
    Frame().PressKey(Key::U, platform::Control);
    Frame().PressKey(Key::P, platform::Control);
    Frame().PressKey(Key::G, platform::Control);
    m_platform.windows.ExpectDialog(IDD_GENERATOR).Press(IDOK);
    m_platform.windows.ExpectMessageBox(IDOK);
    Frame().ChooseMenuItem(ID_TOOLS_GENERATEPASSWORD);
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(EntryCommands, TheAboutBoxShowsTheVersionAndTheContactLine)
{
    m_platform.windows.ExpectDialog(IDD_ABOUTBOX)
        .ExpectText(IDC_VERSION, "Tavisto Sekreta V1.0.1")
        .ExpectText(IDC_CONTACT, std::string(kMakerEmail) + "  " + std::string(kMakerWebAddress))
        .Press(IDCANCEL);
    EXPECT_TRUE(Frame().ClickToolBarButton(ID_APP_ABOUT));
    EXPECT_FALSE(Doc().IsModified());
}

}  // namespace
}  // namespace sekreta::test
