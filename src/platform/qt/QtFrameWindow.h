#pragma once

#include "platform/FrameWindow.h"
#include "platform/qt/QtListControl.h"

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace sekreta::platform::qt {

class QtMenuBarStyle;
class QtMinimizedState;
class QtToolBarPrompts;
class QtWindowSystem;

// A main window: a QMainWindow with the menu bar of the menu template (mnemonics, and the
// key after a tab shown at the right; a lone Alt and F10 take the keyboard into it), the
// accelerator keys as shortcuts, a tool bar that moves, floats and docks on any side, a
// one-pane status bar, and the list filling the rest.
// Every command goes to the frame's events, which decide whether it runs.
class QtFrameWindow final : public FrameWindow {
public:
    QtFrameWindow(QtWindowSystem& system, const FrameTemplate& frame, FrameWindowEvents& events);
    ~QtFrameWindow() override;
    QtFrameWindow(const QtFrameWindow&) = delete;
    QtFrameWindow& operator=(const QtFrameWindow&) = delete;

    QMainWindow& Widget() const;
    QToolBar& ToolBar() const { return *m_toolBar; }
    QtListControl& QtList() { return m_list; }
    // The tool bar's buttons get their states from the program.
    void IdleUpdate();
    // The user logs off or the system shuts down: false when the program refused it.
    bool QueryEndSession();
    // The session ends: the window closes without a question.
    void EndSession();

    void SetCaption(std::string_view caption) override;
    void Show(ShowCommand command) override;
    bool IsVisible() const override;
    bool IsMinimized() const override;
    void Activate() override;
    WindowPlacement GetPlacement() const override;
    void SetPlacement(const WindowPlacement& placement) override;
    Rect WorkArea() const override;
    Size ScreenSize() const override;
    Size IconSize() const override;
    void ShowBar(unsigned barId, bool visible) override;
    bool IsBarVisible(unsigned barId) const override;
    BarPlacement GetBarPlacement(unsigned barId) const override;
    void SetBarPlacement(unsigned barId, const BarPlacement& placement) override;
    void SetStatusText(std::string_view text) override;
    void AcceptDroppedFiles(bool accept) override;
    ListControl& List() override { return m_list; }
    void TrackPopupMenu(const MenuTemplate& menu, Point screenPoint) override;

private:
    class MainWindow;

    // A menu item or tool bar button that sends its command when triggered (with a source),
    // or one whose choice the caller reads itself (without).
    QAction* MakeAction(QWidget& owner, unsigned id, std::string_view text, std::optional<CommandSource> source);
    void AddPopups(const MenuTemplate& menu);
    void OpenFirstMenu();
    void FillPopup(QMenu& popup, const PopupTemplate& items, std::optional<CommandSource> source);
    void AddAccelerators(const AcceleratorTable& table);
    void AddToolBar(const ToolBarTemplate& toolBar);
    // A double-click on the tool bar floats it or docks it again.
    void ToggleToolBarDocking();
    QWidget* Bar(unsigned barId) const;
    void RaiseFloatingToolBar();

    QtWindowSystem& m_system;
    FrameWindowEvents& m_events;
    unsigned m_toolBarId;
    unsigned m_statusBarId;
    // Outlives the window whose menu bar uses it.
    std::unique_ptr<QtMenuBarStyle> m_menuBarStyle;
    std::unique_ptr<MainWindow> m_window;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_statusText = nullptr;
    QtToolBarPrompts* m_prompts = nullptr;
    QtMinimizedState* m_minimized = nullptr;
    bool m_statusTextSet = false;
    // Destroyed before the window that holds its view.
    QtListControl m_list;
};

}  // namespace sekreta::platform::qt
