#include "platform/headless/HeadlessFrameWindow.h"

#include "platform/headless/HeadlessWindowSystem.h"

#include <algorithm>
#include <utility>

namespace sekreta::platform {

namespace {

using ItemState = HeadlessFrameWindow::ItemState;

std::vector<ItemState> ItemsOf(const PopupTemplate& popup)
{
    std::vector<ItemState> items;
    for (const MenuItemTemplate& item : popup.items)
        items.push_back({item.id, std::string(item.text), !item.grayed, false});
    return items;
}

const ItemState* FindItem(const std::vector<ItemState>& items, unsigned id)
{
    const auto found = std::find_if(items.begin(), items.end(), [id](const ItemState& item) { return item.id == id; });
    return found == items.end() ? nullptr : &*found;
}

// The items of one pop-up menu, or of the tool bar, as the program's update handlers change
// them. The changes stay: an item inserted while a menu opens is there the next time too.
class ItemList final : public Menu {
public:
    ItemList(const HeadlessWindowSystem& system, std::vector<ItemState>& items)
        : m_system(system)
        , m_items(items)
    {
    }

    int Count() const override { return static_cast<int>(m_items.size()); }
    unsigned Id(int index) const override
    {
        const ItemState* item = At(index);
        return item ? item->id : 0;
    }
    std::string Text(int index) const override
    {
        const ItemState* item = At(index);
        return item ? item->text : std::string();
    }
    void Enable(int index, bool enabled) override
    {
        if (ItemState* item = At(index))
            item->enabled = enabled;
    }
    void SetCheck(int index, bool checked) override
    {
        if (ItemState* item = At(index))
            item->checked = checked;
    }
    void SetText(int index, std::string_view text) override
    {
        if (ItemState* item = At(index))
            item->text = text;
    }
    // Past the end (or -1) appends, as inserting by position does on the desktop.
    void Insert(int index, unsigned id, std::string_view text) override
    {
        const auto position = index < 0 || index > Count() ? m_items.end() : m_items.begin() + index;
        m_items.insert(position, {id, std::string(text), true, false});
    }
    void Remove(int index) override
    {
        if (At(index))
            m_items.erase(m_items.begin() + index);
    }

private:
    const ItemState* At(int index) const
    {
        if (index >= 0 && index < Count())
            return &m_items[static_cast<std::size_t>(index)];
        m_system.ReportProblem(
            "menu item " + std::to_string(index) + " is out of range (" + std::to_string(Count()) + " items)");
        return nullptr;
    }
    ItemState* At(int index) { return const_cast<ItemState*>(std::as_const(*this).At(index)); }

    const HeadlessWindowSystem& m_system;
    std::vector<ItemState>& m_items;
};

}  // namespace

HeadlessFrameWindow::HeadlessFrameWindow(
    HeadlessWindowSystem& system, const FrameTemplate& frame, FrameWindowEvents& events)
    : m_system(system)
    , m_events(events)
    , m_accelerators(frame.accelerators)
    , m_toolBarId(frame.toolBarId)
    , m_statusBarId(frame.statusBarId)
{
    if (frame.menu) {
        for (const PopupTemplate& popup : frame.menu->popups)
            m_menuBar.push_back({std::string(popup.text), ItemsOf(popup)});
    }
    if (frame.toolBar) {
        for (const ToolBarButton& button : frame.toolBar->buttons)
            m_toolBar.push_back({button.command, std::string(), true, false});
    }
}

HeadlessFrameWindow::~HeadlessFrameWindow()
{
    m_system.ForgetFrame(this);
}

bool HeadlessFrameWindow::ChooseMenuItem(unsigned id)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    // Items can appear as their pop-up opens (the recent files), so each pop-up is opened and
    // searched in turn, as a user looking for the item would.
    for (Popup& popup : m_menuBar) {
        ItemList menu(m_system, popup.items);
        m_events.OnInitMenuPopup(menu);
        const ItemState* item = FindItem(popup.items, id);
        if (!item)
            continue;
        if (!item->enabled)
            return false;
        m_events.OnCommand(id, CommandSource::Menu);
        return true;
    }
    m_system.ReportProblem("the menu bar has no item " + std::to_string(id));
    return false;
}

bool HeadlessFrameWindow::PressKey(Key key, std::uint8_t modifiers)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    if (!m_accelerators)
        return false;
    const auto& entries = m_accelerators->entries;
    const auto found = std::find_if(entries.begin(), entries.end(),
        [&](const Accelerator& entry) { return entry.key == key && entry.modifiers == modifiers; });
    if (found == entries.end())
        return false;
    m_events.OnCommand(found->command, CommandSource::Accelerator);
    return true;
}

bool HeadlessFrameWindow::ClickToolBarButton(unsigned id)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    Idle();
    const ItemState* button = id == 0 ? nullptr : FindItem(m_toolBar, id);
    if (!m_toolBarVisible || !button || !button->enabled)
        return false;
    m_events.OnCommand(id, CommandSource::ToolBar);
    return true;
}

void HeadlessFrameWindow::Idle()
{
    const HeadlessWindowSystem::UserAction action(m_system);
    ItemList buttons(m_system, m_toolBar);
    m_events.OnIdleUpdate(buttons);
}

void HeadlessFrameWindow::RequestClose()
{
    const HeadlessWindowSystem::UserAction action(m_system);
    m_events.OnClose();
}

void HeadlessFrameWindow::DoubleClickList()
{
    const HeadlessWindowSystem::UserAction action(m_system);
    m_events.OnListDoubleClick();
}

std::vector<HeadlessFrameWindow::ItemState> HeadlessFrameWindow::RightClickList(
    Point screenPoint, std::optional<unsigned> choose)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    m_contextChoice = choose;
    m_lastContextMenu.clear();
    // Only TrackPopupMenu sets the point, so it tells whether the program showed a menu.
    const std::optional<Point> previousPoint = std::exchange(m_lastPopupPoint, std::nullopt);
    m_events.OnListContextMenu(screenPoint);
    if (!m_lastPopupPoint) {
        m_lastPopupPoint = previousPoint;
        if (m_contextChoice)
            m_system.ReportProblem("context menu item " + std::to_string(*m_contextChoice)
                + " was to be chosen but no context menu appeared");
    }
    m_contextChoice.reset();
    return m_lastContextMenu;
}

void HeadlessFrameWindow::HighlightMenuItem(unsigned id)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    m_events.OnMenuSelect(id);
}

std::string HeadlessFrameWindow::RestOnToolBarButton(unsigned id)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    m_events.OnMenuSelect(id);
    return m_events.GetToolTipText(id);
}

bool HeadlessFrameWindow::LogOff()
{
    const HeadlessWindowSystem::UserAction action(m_system);
    if (!m_events.OnQueryEndSession())
        return false;
    m_events.OnEndSession();
    return true;
}

void HeadlessFrameWindow::DropFiles(const std::vector<std::filesystem::path>& files)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    m_events.OnDropFiles(files);
}

bool HeadlessFrameWindow::SendShellRequest(std::string_view request)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    return m_events.OnShellRequest(request);
}

std::vector<HeadlessFrameWindow::ItemState> HeadlessFrameWindow::OpenMenu(std::string_view popupText)
{
    const HeadlessWindowSystem::UserAction action(m_system);
    const auto popup = std::find_if(m_menuBar.begin(), m_menuBar.end(),
        [popupText](const Popup& candidate) { return candidate.text == popupText; });
    if (popup == m_menuBar.end()) {
        m_system.ReportProblem("the menu bar has no pop-up \"" + std::string(popupText) + "\"");
        return {};
    }
    ItemList menu(m_system, popup->items);
    m_events.OnInitMenuPopup(menu);
    return popup->items;
}

std::vector<HeadlessFrameWindow::ItemState> HeadlessFrameWindow::ToolBarButtons() const
{
    std::vector<ItemState> buttons;
    std::copy_if(m_toolBar.begin(), m_toolBar.end(), std::back_inserter(buttons),
        [](const ItemState& button) { return button.id != 0; });
    return buttons;
}

void HeadlessFrameWindow::SetCaption(std::string_view caption)
{
    m_caption = caption;
}

void HeadlessFrameWindow::Show(ShowCommand command)
{
    m_visible = command != ShowCommand::Hide;
    switch (command) {
    case ShowCommand::Normal:
    case ShowCommand::Restore:
        m_placement.showState = 1;
        break;
    case ShowCommand::Minimized:
        m_placement.showState = 2;
        break;
    case ShowCommand::Maximized:
        m_placement.showState = 3;
        break;
    case ShowCommand::Hide:
    case ShowCommand::Show:
        break;
    }
}

void HeadlessFrameWindow::Activate()
{
    ++m_activations;
}

void HeadlessFrameWindow::SetPlacement(const WindowPlacement& placement)
{
    m_placement = placement;
}

void HeadlessFrameWindow::ShowBar(unsigned barId, bool visible)
{
    if (barId == m_toolBarId)
        m_toolBarVisible = visible;
    else if (barId == m_statusBarId)
        m_statusBarVisible = visible;
    else
        m_system.ReportProblem("the frame has no bar " + std::to_string(barId));
}

bool HeadlessFrameWindow::IsBarVisible(unsigned barId) const
{
    if (barId == m_toolBarId)
        return m_toolBarVisible;
    if (barId == m_statusBarId)
        return m_statusBarVisible;
    m_system.ReportProblem("the frame has no bar " + std::to_string(barId));
    return false;
}

BarPlacement HeadlessFrameWindow::GetBarPlacement(unsigned barId) const
{
    BarPlacement placement;
    if (barId == m_toolBarId)
        placement = m_toolBarPlacement;
    else if (barId == m_statusBarId)
        placement.side = DockSide::Bottom;
    placement.visible = IsBarVisible(barId);
    return placement;
}

void HeadlessFrameWindow::SetBarPlacement(unsigned barId, const BarPlacement& placement)
{
    if (barId == m_toolBarId)
        m_toolBarPlacement = placement;
    ShowBar(barId, placement.visible);
}

void HeadlessFrameWindow::SetStatusText(std::string_view text)
{
    m_statusText = text;
}

void HeadlessFrameWindow::TrackPopupMenu(const MenuTemplate& menu, Point screenPoint)
{
    if (menu.popups.empty()) {
        m_system.ReportProblem("context menu " + std::to_string(menu.id) + " has no pop-up");
        return;
    }
    m_lastPopupPoint = screenPoint;
    m_lastContextMenu = ItemsOf(menu.popups.front());
    {
        ItemList items(m_system, m_lastContextMenu);
        m_events.OnInitMenuPopup(items);
    }
    const std::optional<unsigned> choice = std::exchange(m_contextChoice, std::nullopt);
    if (!choice)
        return;
    const ItemState* item = FindItem(m_lastContextMenu, *choice);
    if (!item) {
        m_system.ReportProblem("context menu " + std::to_string(menu.id) + " has no item " + std::to_string(*choice));
        return;
    }
    // The menu is gone by the time the command arrives, as on the desktop.
    if (item->enabled)
        m_events.OnCommand(*choice, CommandSource::ContextMenu);
}

}  // namespace sekreta::platform
