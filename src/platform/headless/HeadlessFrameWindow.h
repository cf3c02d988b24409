#pragma once

#include "platform/FrameWindow.h"
#include "platform/headless/HeadlessListControl.h"

#include <optional>
#include <string>
#include <vector>

namespace sekreta::platform {

class HeadlessWindowSystem;

// A main window kept in memory. A test acts as the user through its methods (choose a menu
// item, press a key, click a button, close) and reads back what the window shows.
class HeadlessFrameWindow : public FrameWindow {
public:
    struct ItemState {
        unsigned id;
        std::string text;
        bool enabled;
        bool checked;
        bool operator==(const ItemState&) const = default;
    };

    HeadlessFrameWindow(HeadlessWindowSystem& system, const FrameTemplate& frame, FrameWindowEvents& events);
    ~HeadlessFrameWindow() override;

    // As the user. Each returns whether a command was sent to the program. When the outermost
    // action returns, the program's message loop has its turn (HeadlessWindowSystem).
    // Opens the pop-up that holds the command and chooses it; a grayed item sends nothing.
    bool ChooseMenuItem(unsigned id);
    // Sends the accelerator's command, if the key has one; the program decides whether it runs.
    bool PressKey(Key key, std::uint8_t modifiers = NoModifier);
    // Runs the idle update, then clicks the button if it is enabled.
    bool ClickToolBarButton(unsigned id);
    void Idle();
    void RequestClose();
    void DoubleClickList();
    // Asks for the context menu at the point and chooses `id` in it if enabled (nothing: the
    // user dismisses it). Returns the context menu's items as they were shown.
    std::vector<ItemState> RightClickList(Point screenPoint, std::optional<unsigned> choose);
    // Highlights a menu item (0: the menu closes).
    void HighlightMenuItem(unsigned id);
    // Rests the pointer on a tool bar button; returns the tip shown beside it.
    std::string RestOnToolBarButton(unsigned id);
    // The user logs off; false when the program refused it.
    bool LogOff();
    void DropFiles(const std::vector<std::filesystem::path>& files);
    bool SendShellRequest(std::string_view request);

    // What the window shows.
    // Opens the pop-up of the menu bar whose text is `popupText` ("&File") and returns its items.
    std::vector<ItemState> OpenMenu(std::string_view popupText);
    // The tool bar's buttons as the last idle update left them (separators left out).
    std::vector<ItemState> ToolBarButtons() const;
    const std::string& Caption() const { return m_caption; }
    const std::string& StatusText() const { return m_statusText; }
    bool AcceptsDroppedFiles() const { return m_acceptsDroppedFiles; }
    HeadlessListControl& HeadlessList() { return m_list; }
    void SetWorkArea(Rect workArea) { m_workArea = workArea; }
    void SetScreenSize(Size size) { m_screenSize = size; }

    void SetCaption(std::string_view caption) override;
    void Show(ShowCommand command) override;
    bool IsVisible() const override { return m_visible; }
    bool IsMinimized() const override { return m_placement.showState == 2; }
    void Activate() override;
    WindowPlacement GetPlacement() const override { return m_placement; }
    void SetPlacement(const WindowPlacement& placement) override;
    Rect WorkArea() const override { return m_workArea; }
    Size ScreenSize() const override { return m_screenSize; }
    Size IconSize() const override { return {32, 32}; }
    void ShowBar(unsigned barId, bool visible) override;
    bool IsBarVisible(unsigned barId) const override;
    BarPlacement GetBarPlacement(unsigned barId) const override;
    void SetBarPlacement(unsigned barId, const BarPlacement& placement) override;
    void SetStatusText(std::string_view text) override;
    void AcceptDroppedFiles(bool accept) override { m_acceptsDroppedFiles = accept; }
    ListControl& List() override { return m_list; }
    void TrackPopupMenu(const MenuTemplate& menu, Point screenPoint) override;

    int ActivationCount() const { return m_activations; }
    std::optional<Point> LastPopupPoint() const { return m_lastPopupPoint; }

private:
    struct Popup {
        std::string text;
        std::vector<ItemState> items;
    };

    HeadlessWindowSystem& m_system;
    FrameWindowEvents& m_events;
    const AcceleratorTable* m_accelerators;
    unsigned m_toolBarId;
    unsigned m_statusBarId;
    std::vector<Popup> m_menuBar;
    std::vector<ItemState> m_toolBar;  // id 0: separator
    bool m_toolBarVisible = true;
    BarPlacement m_toolBarPlacement;
    bool m_statusBarVisible = true;
    std::string m_caption;
    std::string m_statusText;
    bool m_visible = false;
    bool m_acceptsDroppedFiles = false;
    int m_activations = 0;
    WindowPlacement m_placement {1, {100, 100, 900, 700}};
    Rect m_workArea {0, 0, 1920, 1040};
    Size m_screenSize {1920, 1080};
    HeadlessListControl m_list;
    std::optional<unsigned> m_contextChoice;
    std::vector<ItemState> m_lastContextMenu;
    std::optional<Point> m_lastPopupPoint;
};

}  // namespace sekreta::platform
