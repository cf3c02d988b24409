#include "platform/headless/HeadlessFrameWindow.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace sekreta::platform {

void PrintTo(const HeadlessFrameWindow::ItemState& item, std::ostream* out)
{
    *out << "{" << item.id << " \"" << item.text << "\"" << (item.enabled ? "" : " disabled")
         << (item.checked ? " checked" : "") << "}";
}

namespace {

using ItemState = HeadlessFrameWindow::ItemState;
using Problems = std::vector<std::string>;

constexpr unsigned ID_FILE_NEW = 0xE100;
constexpr unsigned ID_FILE_OPEN = 0xE101;
constexpr unsigned ID_FILE_MRU_FILE1 = 0xE110;
constexpr unsigned ID_APP_EXIT = 0xE141;
constexpr unsigned ID_EDIT_COPY = 32771;
constexpr unsigned ID_EDIT_DELETE = 32772;
constexpr unsigned IDR_TOOLBAR = 0xE800;
constexpr unsigned IDR_STATUSBAR = 0xE801;

constexpr MenuItemTemplate fileItems[] = {
    {ID_FILE_NEW, "&New\tCtrl+N"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {0, ""},
    {ID_FILE_MRU_FILE1, "Recent File", true},
    {0, ""},
    {ID_APP_EXIT, "E&xit"},
};
constexpr MenuItemTemplate editItems[] = {
    {ID_EDIT_COPY, "&Copy\tCtrl+C"},
    {ID_EDIT_DELETE, "&Delete\tDel", true},
};
constexpr PopupTemplate menuBarPopups[] = {{"&File", fileItems}, {"&Edit", editItems}};
constexpr MenuTemplate menuBar {128, menuBarPopups};

constexpr MenuItemTemplate contextItems[] = {{ID_EDIT_COPY, "&Copy"}, {ID_EDIT_DELETE, "&Delete"}};
constexpr PopupTemplate contextPopups[] = {{"Entry", contextItems}};
constexpr MenuTemplate contextMenu {132, contextPopups};

constexpr Accelerator acceleratorEntries[] = {
    {Key::C, Control, ID_EDIT_COPY},
    {Key::Delete, NoModifier, ID_EDIT_DELETE},
    {Key::O, Control, ID_FILE_OPEN},
};
constexpr AcceleratorTable accelerators {128, acceleratorEntries};

constexpr ToolBarButton toolBarButtons[] = {{ID_FILE_NEW, {}}, {ID_FILE_OPEN, {}}, {0, {}}, {ID_EDIT_COPY, {}}};
constexpr ToolBarTemplate toolBar {128, 16, 15, 23, 22, toolBarButtons};

struct Sent {
    unsigned id;
    CommandSource source;
    bool operator==(const Sent&) const = default;
};

class RecordingEvents final : public FrameWindowEvents {
public:
    void OnCommand(unsigned id, CommandSource source) override { commands.push_back({id, source}); }
    void OnInitMenuPopup(Menu& menu) override
    {
        ++menusOpened;
        if (onInitMenu)
            onInitMenu(menu);
    }
    void OnIdleUpdate(CommandItems& buttons) override
    {
        ++idleUpdates;
        if (onIdle)
            onIdle(buttons);
    }
    void OnClose() override { }
    void OnListDoubleClick() override { }
    void OnListContextMenu(Point screenPoint) override
    {
        if (onContextMenu)
            onContextMenu(screenPoint);
    }
    void OnDropFiles(const std::vector<std::filesystem::path>&) override { }
    bool OnShellRequest(std::string_view) override { return false; }
    void OnMenuSelect(unsigned) override { }
    std::string GetToolTipText(unsigned) override { return {}; }
    bool OnQueryEndSession() override { return true; }
    void OnEndSession() override { }

    std::vector<Sent> commands;
    int menusOpened = 0;
    int idleUpdates = 0;
    std::function<void(Menu&)> onInitMenu;
    std::function<void(CommandItems&)> onIdle;
    std::function<void(Point)> onContextMenu;
};

int IndexOf(const CommandItems& items, unsigned id)
{
    for (int index = 0; index < items.Count(); ++index) {
        if (items.Id(index) == id)
            return index;
    }
    return -1;
}

class HeadlessFrameWindowTest : public testing::Test {
protected:
    Problems m_problems;
    HeadlessWindowSystem m_windows {[this](const std::string& problem) { m_problems.push_back(problem); }};
    RecordingEvents m_events;
    HeadlessFrameWindow m_frame {m_windows, {&menuBar, &accelerators, &toolBar, IDR_TOOLBAR, IDR_STATUSBAR, {}}, m_events};
};

TEST_F(HeadlessFrameWindowTest, MenuItemIsUpdatedBeforeItIsChosen)
{
    m_events.onInitMenu = [](Menu& menu) {
        if (const int copy = IndexOf(menu, ID_EDIT_COPY); copy >= 0) {
            menu.Enable(copy, false);
            menu.Enable(IndexOf(menu, ID_EDIT_DELETE), true);
        }
    };

    EXPECT_FALSE(m_frame.ChooseMenuItem(ID_EDIT_COPY));
    EXPECT_TRUE(m_frame.ChooseMenuItem(ID_EDIT_DELETE));
    // Each pop-up is opened in turn until the item turns up: File, then Edit, twice.
    EXPECT_EQ(m_events.menusOpened, 4);
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_EDIT_DELETE, CommandSource::Menu}}));
    EXPECT_EQ(m_frame.OpenMenu("&Edit"),
        (std::vector<ItemState> {
            {ID_EDIT_COPY, "&Copy\tCtrl+C", false, false}, {ID_EDIT_DELETE, "&Delete\tDel", true, false}}));

    m_events.onInitMenu = nullptr;
    EXPECT_FALSE(m_frame.ChooseMenuItem(ID_FILE_MRU_FILE1)) << "grayed in the template";
    EXPECT_FALSE(m_frame.ChooseMenuItem(999));
    EXPECT_EQ(m_frame.OpenMenu("&View"), std::vector<ItemState> {});
    EXPECT_EQ(m_events.commands.size(), 1u);
    EXPECT_EQ(m_problems, (Problems {"the menu bar has no item 999", "the menu bar has no pop-up \"&View\""}));
}

TEST_F(HeadlessFrameWindowTest, ItemsInsertedWhileOpeningStayInTheMenu)
{
    // The way a recent-file list updates its pop-up: its own items out, the current ones in.
    std::vector<std::string> recent {"&1 a.sek", "&2 b.sek"};
    m_events.onInitMenu = [&](Menu& menu) {
        const int first = IndexOf(menu, ID_FILE_MRU_FILE1);
        if (first < 0)
            return;
        while (first < menu.Count() && menu.Id(first) >= ID_FILE_MRU_FILE1 && menu.Id(first) < ID_FILE_MRU_FILE1 + 16)
            menu.Remove(first);
        for (std::size_t index = 0; index < recent.size(); ++index)
            menu.Insert(
                first + static_cast<int>(index), ID_FILE_MRU_FILE1 + static_cast<unsigned>(index), recent[index]);
    };

    const std::vector<ItemState> opened = m_frame.OpenMenu("&File");
    ASSERT_EQ(opened.size(), 7u);
    EXPECT_EQ(opened[3], (ItemState {ID_FILE_MRU_FILE1, "&1 a.sek", true, false}));
    EXPECT_EQ(opened[4], (ItemState {ID_FILE_MRU_FILE1 + 1, "&2 b.sek", true, false}));
    EXPECT_EQ(opened[5], (ItemState {0, "", true, false}));

    recent = {"&1 c.sek"};
    EXPECT_FALSE(m_frame.ChooseMenuItem(ID_FILE_MRU_FILE1 + 1)) << "gone once the menu was brought up to date";
    EXPECT_TRUE(m_frame.ChooseMenuItem(ID_FILE_MRU_FILE1));
    const std::vector<ItemState> reopened = m_frame.OpenMenu("&File");
    ASSERT_EQ(reopened.size(), 6u);
    EXPECT_EQ(reopened[3].text, "&1 c.sek");
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_FILE_MRU_FILE1, CommandSource::Menu}}));
    EXPECT_EQ(m_problems, Problems {"the menu bar has no item 57617"});
}

TEST_F(HeadlessFrameWindowTest, AcceleratorsSendTheirCommandWhateverTheMenuShows)
{
    EXPECT_TRUE(m_frame.PressKey(Key::C, Control));
    EXPECT_TRUE(m_frame.PressKey(Key::Delete));
    EXPECT_FALSE(m_frame.PressKey(Key::C));
    EXPECT_FALSE(m_frame.PressKey(Key::Delete, Shift));
    EXPECT_EQ(m_events.commands,
        (std::vector<Sent> {{ID_EDIT_COPY, CommandSource::Accelerator}, {ID_EDIT_DELETE, CommandSource::Accelerator}}));
    EXPECT_EQ(m_events.menusOpened, 0);
}

TEST_F(HeadlessFrameWindowTest, ToolBarButtonsTakeTheirStateFromTheIdleUpdate)
{
    m_events.onIdle = [](CommandItems& buttons) {
        EXPECT_EQ(buttons.Count(), 4) << "separators count too";
        EXPECT_EQ(buttons.Id(2), 0u);
        buttons.Enable(IndexOf(buttons, ID_EDIT_COPY), false);
        buttons.SetCheck(IndexOf(buttons, ID_FILE_OPEN), true);
    };

    EXPECT_FALSE(m_frame.ClickToolBarButton(ID_EDIT_COPY));
    EXPECT_TRUE(m_frame.ClickToolBarButton(ID_FILE_NEW));
    EXPECT_FALSE(m_frame.ClickToolBarButton(0));
    EXPECT_EQ(m_events.idleUpdates, 3);
    EXPECT_EQ(m_frame.ToolBarButtons(),
        (std::vector<ItemState> {
            {ID_FILE_NEW, "", true, false}, {ID_FILE_OPEN, "", true, true}, {ID_EDIT_COPY, "", false, false}}));

    m_frame.ShowBar(IDR_TOOLBAR, false);
    EXPECT_FALSE(m_frame.ClickToolBarButton(ID_FILE_NEW)) << "a hidden bar cannot be clicked";
    EXPECT_TRUE(m_frame.IsBarVisible(IDR_STATUSBAR));
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_FILE_NEW, CommandSource::ToolBar}}));
}

TEST_F(HeadlessFrameWindowTest, ContextMenuIsShownByTheProgramAndChosenAfterItsUpdate)
{
    bool overRow = true;
    m_events.onContextMenu = [&](Point point) {
        if (overRow)
            m_frame.TrackPopupMenu(contextMenu, point);
    };
    m_events.onInitMenu = [](Menu& menu) { menu.Enable(IndexOf(menu, ID_EDIT_DELETE), false); };
    const std::vector<ItemState> shown {
        {ID_EDIT_COPY, "&Copy", true, false}, {ID_EDIT_DELETE, "&Delete", false, false}};

    EXPECT_EQ(m_frame.RightClickList({10, 20}, ID_EDIT_DELETE), shown);
    EXPECT_EQ(m_frame.RightClickList({30, 40}, ID_EDIT_COPY), shown);
    EXPECT_EQ(m_frame.LastPopupPoint(), (Point {30, 40}));
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_EDIT_COPY, CommandSource::ContextMenu}}));

    overRow = false;
    EXPECT_EQ(m_frame.RightClickList({50, 60}, std::nullopt), std::vector<ItemState> {});
    EXPECT_EQ(m_frame.RightClickList({50, 60}, ID_EDIT_COPY), std::vector<ItemState> {});
    EXPECT_EQ(m_frame.LastPopupPoint(), (Point {30, 40}));
    EXPECT_EQ(m_events.commands.size(), 1u);
    EXPECT_EQ(m_problems, Problems {"context menu item 32771 was to be chosen but no context menu appeared"});
}

}  // namespace
}  // namespace sekreta::platform
