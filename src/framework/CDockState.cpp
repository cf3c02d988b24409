#include "framework/CDockState.h"

#include "framework/CWinApp.h"

#include <algorithm>
#include <array>
#include <limits>

namespace sekreta {

namespace {

struct Side {
    platform::DockSide side;
    unsigned dockBarId;
};

constexpr std::array<Side, 4> kSides {{
    {platform::DockSide::Top, CDockState::AFX_IDW_DOCKBAR_TOP},
    {platform::DockSide::Bottom, CDockState::AFX_IDW_DOCKBAR_BOTTOM},
    {platform::DockSide::Left, CDockState::AFX_IDW_DOCKBAR_LEFT},
    {platform::DockSide::Right, CDockState::AFX_IDW_DOCKBAR_RIGHT},
}};

unsigned DockBarIdOf(platform::DockSide side)
{
    return std::ranges::find(kSides, side, &Side::side)->dockBarId;
}

// More bars or slots than any frame has come from a damaged file: such a count reads as none.
constexpr int kMostBars = 64;

int CountOrNone(int count)
{
    return count > kMostBars ? 0 : count;
}

std::string SummarySection(std::string_view profileName)
{
    return std::string(profileName) + "-Summary";
}

std::string BarSection(std::string_view profileName, std::size_t index)
{
    return std::string(profileName) + "-Bar" + std::to_string(index);
}

std::string SlotEntry(std::size_t index)
{
    return "Bar#" + std::to_string(index);
}

// Scales a position saved on a screen of `saved` size to one of `current` size, then pulls it
// back so that at least an icon's square of the bar stays on the screen. A position that the
// scaling takes beyond the range of int (a damaged file) stops at its end instead of wrapping.
int Rescale(int position, int saved, int current, int icon)
{
    if (position == -1)
        return position;
    long long scaled = position;
    if (saved > 0 && saved != current)
        scaled = scaled * current / saved;
    scaled = std::min<long long>(scaled, current - icon);
    return static_cast<int>(std::max<long long>(scaled, std::numeric_limits<int>::min()));
}

}  // namespace

void CDockState::GetState(const platform::FrameWindow& window, unsigned toolBarId, unsigned statusBarId)
{
    m_bars.clear();
    m_screen = window.ScreenSize();

    const platform::BarPlacement tools = window.GetBarPlacement(toolBarId);
    BarInfo toolBar;
    toolBar.barId = toolBarId;
    toolBar.visible = tools.visible;
    toolBar.floating = tools.floating;
    toolBar.horizontal = tools.horizontal;
    toolBar.position = tools.position;
    toolBar.docking = true;
    toolBar.mruDockId = DockBarIdOf(tools.side);
    if (tools.floating)
        toolBar.mruFloatPosition = tools.position;
    m_bars.push_back(toolBar);

    BarInfo statusBar;
    statusBar.barId = statusBarId;
    statusBar.visible = window.IsBarVisible(statusBarId);
    m_bars.push_back(statusBar);

    for (const Side& side : kSides) {
        BarInfo dockSide;
        dockSide.barId = side.dockBarId;
        dockSide.isDockSide = true;
        dockSide.slots.push_back(0);
        if (!tools.floating && tools.side == side.side) {
            dockSide.slots.push_back(toolBarId);
            dockSide.slots.push_back(0);
        }
        m_bars.push_back(dockSide);
    }
}

void CDockState::SetState(platform::FrameWindow& window, unsigned toolBarId, unsigned statusBarId) const
{
    for (const BarInfo& bar : m_bars) {
        if (bar.barId == statusBarId) {
            window.ShowBar(statusBarId, bar.visible);
        } else if (bar.barId == toolBarId) {
            platform::BarPlacement placement;
            placement.visible = bar.visible;
            placement.floating = bar.floating;
            placement.horizontal = bar.horizontal;
            placement.position = bar.position;
            if (const auto side = std::ranges::find(kSides, bar.mruDockId, &Side::dockBarId); side != kSides.end())
                placement.side = side->side;
            // The side whose slots hold the bar is where it was docked last.
            for (const BarInfo& dockSide : m_bars) {
                const auto side = std::ranges::find(kSides, dockSide.barId, &Side::dockBarId);
                if (dockSide.isDockSide && side != kSides.end() && std::ranges::count(dockSide.slots, toolBarId) > 0)
                    placement.side = side->side;
            }
            window.SetBarPlacement(toolBarId, placement);
        }
    }
}

bool CDockState::IsWorthSaving(const BarInfo& bar)
{
    return !(bar.isDockSide && bar.visible && !bar.floating && bar.position == platform::Point {-1, -1}
        && bar.slots.size() <= 1);
}

void CDockState::SaveState(CWinApp& app, std::string_view profileName) const
{
    std::size_t saved = 0;
    for (const BarInfo& bar : m_bars) {
        const std::string section = BarSection(profileName, saved);
        app.WriteProfileString(section, std::nullopt, std::nullopt);
        if (!IsWorthSaving(bar))
            continue;
        SaveBar(app, section, bar);
        ++saved;
    }
    const std::string summary = SummarySection(profileName);
    app.WriteProfileInt(summary, "Bars", static_cast<int>(saved));
    app.WriteProfileInt(summary, "ScreenCX", m_screen.width);
    app.WriteProfileInt(summary, "ScreenCY", m_screen.height);
}

void CDockState::SaveBar(CWinApp& app, const std::string& section, const BarInfo& bar)
{
    app.WriteProfileInt(section, "BarID", static_cast<int>(bar.barId));
    if (!bar.visible)
        app.WriteProfileInt(section, "Visible", 0);
    if (bar.floating) {
        app.WriteProfileInt(section, "Horz", bar.horizontal ? 1 : 0);
        app.WriteProfileInt(section, "Floating", 1);
    }
    if (bar.position.x != -1)
        app.WriteProfileInt(section, "XPos", bar.position.x);
    if (bar.position.y != -1)
        app.WriteProfileInt(section, "YPos", bar.position.y);
    if (bar.mruWidth != 32767)
        app.WriteProfileInt(section, "MRUWidth", bar.mruWidth);
    if (bar.docking) {
        app.WriteProfileInt(section, "Docking", 1);
        app.WriteProfileInt(section, "MRUDockID", static_cast<int>(bar.mruDockId));
        app.WriteProfileInt(section, "MRUDockLeftPos", bar.mruDockRect.left);
        app.WriteProfileInt(section, "MRUDockTopPos", bar.mruDockRect.top);
        app.WriteProfileInt(section, "MRUDockRightPos", bar.mruDockRect.right);
        app.WriteProfileInt(section, "MRUDockBottomPos", bar.mruDockRect.bottom);
        app.WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(bar.mruFloatStyle));
        app.WriteProfileInt(section, "MRUFloatXPos", bar.mruFloatPosition.x);
        app.WriteProfileInt(section, "MRUFloatYPos", bar.mruFloatPosition.y);
    }
    if (bar.slots.size() > 1) {
        app.WriteProfileInt(section, "Bars", static_cast<int>(bar.slots.size()));
        for (std::size_t i = 0; i < bar.slots.size(); ++i)
            app.WriteProfileInt(section, SlotEntry(i), static_cast<int>(bar.slots[i]));
    }
}

void CDockState::LoadState(CWinApp& app, std::string_view profileName, platform::Size screen, platform::Size icon)
{
    m_bars.clear();
    const std::string summary = SummarySection(profileName);
    const int count = CountOrNone(app.GetProfileInt(summary, "Bars", 0));
    const platform::Size saved {app.GetProfileInt(summary, "ScreenCX", 0), app.GetProfileInt(summary, "ScreenCY", 0)};
    m_screen = screen;
    for (int i = 0; i < count; ++i) {
        BarInfo bar = LoadBar(app, BarSection(profileName, static_cast<std::size_t>(i)));
        bar.position.x = Rescale(bar.position.x, saved.width, screen.width, icon.width);
        bar.position.y = Rescale(bar.position.y, saved.height, screen.height, icon.height);
        m_bars.push_back(std::move(bar));
    }
}

CDockState::BarInfo CDockState::LoadBar(CWinApp& app, const std::string& section)
{
    BarInfo bar;
    bar.barId = static_cast<unsigned>(app.GetProfileInt(section, "BarID", 0));
    bar.visible = app.GetProfileInt(section, "Visible", 1) != 0;
    bar.horizontal = app.GetProfileInt(section, "Horz", 1) != 0;
    bar.floating = app.GetProfileInt(section, "Floating", 0) != 0;
    bar.position = {app.GetProfileInt(section, "XPos", -1), app.GetProfileInt(section, "YPos", -1)};
    bar.mruWidth = app.GetProfileInt(section, "MRUWidth", 32767);
    bar.docking = app.GetProfileInt(section, "Docking", 0) != 0;
    if (bar.docking) {
        bar.mruDockId = static_cast<unsigned>(app.GetProfileInt(section, "MRUDockID", 0));
        bar.mruDockRect
            = {app.GetProfileInt(section, "MRUDockLeftPos", 0), app.GetProfileInt(section, "MRUDockTopPos", 0),
                app.GetProfileInt(section, "MRUDockRightPos", 0), app.GetProfileInt(section, "MRUDockBottomPos", 0)};
        bar.mruFloatStyle = static_cast<unsigned>(app.GetProfileInt(section, "MRUFloatStyle", 0));
        bar.mruFloatPosition
            = {app.GetProfileInt(section, "MRUFloatXPos", 0), app.GetProfileInt(section, "MRUFloatYPos", 0)};
    }
    const int slots = CountOrNone(app.GetProfileInt(section, "Bars", 0));
    for (int i = 0; i < slots; ++i)
        bar.slots.push_back(
            static_cast<unsigned>(app.GetProfileInt(section, SlotEntry(static_cast<std::size_t>(i)), 0)));
    bar.isDockSide = std::ranges::count(kSides, bar.barId, &Side::dockBarId) > 0;
    return bar;
}

}  // namespace sekreta
