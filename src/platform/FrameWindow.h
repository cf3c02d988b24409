#pragma once

#include "platform/CommandItems.h"
#include "platform/Geometry.h"
#include "platform/ListControl.h"
#include "platform/Resources.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta::platform {

enum class ShowCommand { Hide = 0, Normal = 1, Minimized = 2, Maximized = 3, Show = 5, Restore = 9 };

// Where a command came from.
enum class CommandSource { Menu, Accelerator, ToolBar, ContextMenu };

// The restored rectangle in work-area coordinates and the show state (1 normal, 2 minimised,
// 3 maximised), as the settings keep them.
struct WindowPlacement {
    int showState = 1;
    Rect normal;
    bool operator==(const WindowPlacement&) const = default;
};

// How the framework hears what the user does with a main window. The backend calls these on
// the user-interface thread, one at a time.
class FrameWindowEvents {
public:
    // A menu item, accelerator key, tool bar button or context-menu item was chosen.
    virtual void OnCommand(unsigned id, CommandSource source) = 0;
    // A pop-up menu of the menu bar, or the context menu, is about to show its items.
    virtual void OnInitMenuPopup(Menu& menu) = 0;
    // The message queue went idle: the tool bar's buttons get their states.
    virtual void OnIdleUpdate(CommandItems& toolBar) = 0;
    // The user asks to close the window (close box, Alt+F4).
    virtual void OnClose() = 0;
    virtual void OnListDoubleClick() = 0;
    // A context menu was asked for over the list, at a point in screen coordinates.
    virtual void OnListContextMenu(Point screenPoint) = 0;
    // Files were dropped on the window. The program carries them out in its own time, never
    // under this call.
    virtual void OnDropFiles(const std::vector<std::filesystem::path>& files) = 0;
    // A second start handed over a request such as [open("path")]; false refuses it. Like a
    // drop, a request taken is carried out later, so the answer never waits for the file.
    virtual bool OnShellRequest(std::string_view request) = 0;
    // A menu item is highlighted, or the pointer has rested on a tool bar button: its command;
    // 0 when nothing is highlighted any more. The program answers with the status text.
    virtual void OnMenuSelect(unsigned id) = 0;
    // The tip shown beside a tool bar button; empty for none.
    virtual std::string GetToolTipText(unsigned id) = 0;
    // The user is logging off or the system shuts down: false refuses it (the user cancelled
    // the save prompt). OnEndSession follows when it really happens.
    virtual bool OnQueryEndSession() = 0;
    virtual void OnEndSession() = 0;

protected:
    ~FrameWindowEvents() = default;
};

enum class DockSide { Top, Bottom, Left, Right };

// Where a bar is: docked on a side of the frame, or floating at a point of the screen.
struct BarPlacement {
    bool visible = true;
    bool floating = false;
    DockSide side = DockSide::Top;
    // Docked: the bar's offset along its side, -1 when it sits where the frame put it.
    // Floating: the top-left corner of its window in screen coordinates.
    Point position {-1, -1};
    // Floating: laid out as a row (true) or a column.
    bool horizontal = true;
    bool operator==(const BarPlacement&) const = default;
};

// What a main window is made from.
struct FrameTemplate {
    const MenuTemplate* menu = nullptr;
    const AcceleratorTable* accelerators = nullptr;
    const ToolBarTemplate* toolBar = nullptr;
    unsigned toolBarId = 0;
    unsigned statusBarId = 0;
    // The window's icon, as SVG.
    std::string_view icon;
};

// A main window: caption, menu bar, accelerators, tool bar, status bar, and the list control
// that fills its client area. Created hidden.
class FrameWindow {
public:
    virtual ~FrameWindow() = default;

    virtual void SetCaption(std::string_view caption) = 0;
    virtual void Show(ShowCommand command) = 0;
    virtual bool IsVisible() const = 0;
    virtual bool IsMinimized() const = 0;
    // Brings the window to the front; a minimised one stays minimised.
    virtual void Activate() = 0;
    virtual WindowPlacement GetPlacement() const = 0;
    virtual void SetPlacement(const WindowPlacement& placement) = 0;
    // The desktop without the task bars, the whole screen, and an icon's size.
    virtual Rect WorkArea() const = 0;
    virtual Size ScreenSize() const = 0;
    virtual Size IconSize() const = 0;

    virtual void ShowBar(unsigned barId, bool visible) = 0;
    virtual bool IsBarVisible(unsigned barId) const = 0;
    // Only the tool bar can dock and float; the status bar stays at the bottom.
    virtual BarPlacement GetBarPlacement(unsigned barId) const = 0;
    virtual void SetBarPlacement(unsigned barId, const BarPlacement& placement) = 0;
    virtual void SetStatusText(std::string_view text) = 0;
    virtual void AcceptDroppedFiles(bool accept) = 0;

    virtual ListControl& List() = 0;
    // Shows the first pop-up of `menu` at a point in screen coordinates and returns when it
    // closes; a chosen item arrives as OnCommand with CommandSource::ContextMenu.
    virtual void TrackPopupMenu(const MenuTemplate& menu, Point screenPoint) = 0;
};

}  // namespace sekreta::platform
