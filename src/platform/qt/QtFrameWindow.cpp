#include "platform/qt/QtFrameWindow.h"

#include "platform/qt/QtCommandItems.h"
#include "platform/qt/QtMenuBarStyle.h"
#include "platform/qt/QtMinimizedState.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtToolBarDocking.h"
#include "platform/qt/QtToolBarPrompts.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/SvgPicture.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include <vector>

namespace sekreta::platform::qt {

namespace {

// Where a window opens when the program has no placement of its own for it.
constexpr QSize kDefaultSize(820, 560);

int QtKey(Key key)
{
    if (key >= Key::A && key <= Key::Z)
        return Qt::Key_A + (static_cast<int>(key) - static_cast<int>(Key::A));
    switch (key) {
    case Key::Return:
        return Qt::Key_Return;
    case Key::Escape:
        return Qt::Key_Escape;
    case Key::Insert:
        return Qt::Key_Insert;
    case Key::Delete:
        return Qt::Key_Delete;
    case Key::Backspace:
        return Qt::Key_Backspace;
    case Key::F1:
        return Qt::Key_F1;
    case Key::F6:
        return Qt::Key_F6;
    default:
        return 0;
    }
}

Qt::KeyboardModifiers QtModifiers(std::uint8_t modifiers)
{
    Qt::KeyboardModifiers result;
    if ((modifiers & Shift) != 0)
        result |= Qt::ShiftModifier;
    if ((modifiers & Control) != 0)
        result |= Qt::ControlModifier;
    if ((modifiers & Alt) != 0)
        result |= Qt::AltModifier;
    return result;
}

Qt::ToolBarArea Area(DockSide side)
{
    switch (side) {
    case DockSide::Bottom:
        return Qt::BottomToolBarArea;
    case DockSide::Left:
        return Qt::LeftToolBarArea;
    case DockSide::Right:
        return Qt::RightToolBarArea;
    case DockSide::Top:
        break;
    }
    return Qt::TopToolBarArea;
}

DockSide Side(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::BottomToolBarArea:
        return DockSide::Bottom;
    case Qt::LeftToolBarArea:
        return DockSide::Left;
    case Qt::RightToolBarArea:
        return DockSide::Right;
    default:
        return DockSide::Top;
    }
}

Rect ToRect(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace

// The window itself: its close box, and files dropped on it, go to the frame's events.
class QtFrameWindow::MainWindow final : public QMainWindow {
public:
    explicit MainWindow(FrameWindowEvents& events)
        : m_events(events)
    {
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The program decides: it may ask to save, and it closes the window itself.
        event->ignore();
        m_events.OnClose();
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (!LocalFiles(*event->mimeData()).empty())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        std::vector<std::filesystem::path> files = LocalFiles(*event->mimeData());
        if (files.empty())
            return;
        event->acceptProposedAction();
        // Opening may ask questions; the drag ends first, so the program it came from is not
        // left waiting for the answers.
        QMetaObject::invokeMethod(
            this, [this, files = std::move(files)] { m_events.OnDropFiles(files); }, Qt::QueuedConnection);
    }

private:
    static std::vector<std::filesystem::path> LocalFiles(const QMimeData& data)
    {
        std::vector<std::filesystem::path> files;
        for (const QUrl& url : data.urls()) {
            if (url.isLocalFile())
                files.emplace_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
        return files;
    }

    FrameWindowEvents& m_events;
};

QtFrameWindow::QtFrameWindow(QtWindowSystem& system, const FrameTemplate& frame, FrameWindowEvents& events)
    : m_system(system)
    , m_events(events)
    , m_toolBarId(frame.toolBarId)
    , m_statusBarId(frame.statusBarId)
    , m_window(std::make_unique<MainWindow>(events))
    , m_list(events, m_window.get())
{
    m_window->setObjectName(QStringLiteral("frame"));
    // The program's own View menu shows and hides the bars; the window's menu of them would
    // change them behind its back.
    m_window->setContextMenuPolicy(Qt::PreventContextMenu);
    m_window->resize(kDefaultSize);
    m_minimized = new QtMinimizedState(*m_window);
    if (const QIcon icon = SvgIcon(frame.icon); !icon.isNull())
        m_window->setWindowIcon(icon);
    if (frame.menu)
        AddPopups(*frame.menu);
    if (frame.accelerators)
        AddAccelerators(*frame.accelerators);
    if (frame.toolBar)
        AddToolBar(*frame.toolBar);
    m_statusText = new QLabel(m_window->statusBar());
    m_statusText->setObjectName(QStringLiteral("statusText"));
    m_window->statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_window->statusBar()->addWidget(m_statusText, 1);
    m_window->setCentralWidget(&m_list.View());
    m_system.AddFrame(*this);
}

QtFrameWindow::~QtFrameWindow()
{
    m_system.ForgetFrame(*this);
}

QMainWindow& QtFrameWindow::Widget() const
{
    return *m_window;
}

QAction* QtFrameWindow::MakeAction(
    QWidget& owner, unsigned id, std::string_view text, std::optional<CommandSource> source)
{
    auto* action = new QAction(&owner);
    QtCommandItems::SetCommand(*action, id, text);
    if (source) {
        QObject::connect(action, &QAction::triggered, action,
            [this, action, from = *source] { m_events.OnCommand(QtCommandItems::CommandOf(*action), from); });
    }
    return action;
}

void QtFrameWindow::FillPopup(QMenu& popup, const PopupTemplate& items, std::optional<CommandSource> source)
{
    for (const MenuItemTemplate& item : items.items) {
        if (item.id == 0 && item.text.empty()) {
            popup.addSeparator();
            continue;
        }
        QAction* action = MakeAction(popup, item.id, item.text, source);
        action->setEnabled(!item.grayed);
        popup.addAction(action);
    }
    QObject::connect(&popup, &QMenu::aboutToShow, &popup, [this, &popup, source] {
        QtCommandItems menu(popup,
            [this, &popup, source](unsigned id, std::string_view text) { return MakeAction(popup, id, text, source); });
        m_events.OnInitMenuPopup(menu);
    });
    QObject::connect(&popup, &QMenu::hovered, &popup,
        [this](QAction* action) { m_events.OnMenuSelect(QtCommandItems::CommandOf(*action)); });
    QObject::connect(&popup, &QMenu::aboutToHide, &popup, [this] { m_events.OnMenuSelect(0); });
}

void QtFrameWindow::AddPopups(const MenuTemplate& menu)
{
    QMenuBar& bar = *m_window->menuBar();
    for (const PopupTemplate& popupTemplate : menu.popups) {
        QMenu* popup = bar.addMenu(ToQString(popupTemplate.text));
        FillPopup(*popup, popupTemplate, CommandSource::Menu);
    }
    m_menuBarStyle = std::make_unique<QtMenuBarStyle>();
    bar.setStyle(m_menuBarStyle.get());
    // F10 takes the keyboard into the bar too, opening its first menu as GNOME's programs do.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), m_window.get());
    menuKey->setContext(Qt::WindowShortcut);
    QObject::connect(menuKey, &QShortcut::activated, menuKey, [this] { OpenFirstMenu(); });
}

void QtFrameWindow::OpenFirstMenu()
{
    const QList<QAction*> menus = m_window->menuBar()->actions();
    if (!menus.isEmpty())
        m_window->menuBar()->setActiveAction(menus.front());
}

void QtFrameWindow::AddAccelerators(const AcceleratorTable& table)
{
    for (const Accelerator& accelerator : table.entries) {
        const int key = QtKey(accelerator.key);
        if (key == 0)
            continue;
        std::vector<QKeySequence> sequences {QKeyCombination(QtModifiers(accelerator.modifiers), Qt::Key(key))};
        // Enter on the keypad is the same key to the program.
        if (accelerator.key == Key::Return)
            sequences.emplace_back(
                QKeyCombination(QtModifiers(accelerator.modifiers) | Qt::KeypadModifier, Qt::Key_Enter));
        for (const QKeySequence& sequence : sequences) {
            auto* shortcut = new QShortcut(sequence, m_window.get());
            shortcut->setContext(Qt::WindowShortcut);
            QObject::connect(shortcut, &QShortcut::activated, shortcut,
                [this, id = accelerator.command] { m_events.OnCommand(id, CommandSource::Accelerator); });
        }
    }
}

void QtFrameWindow::AddToolBar(const ToolBarTemplate& toolBar)
{
    m_toolBar = new QToolBar(m_window.get());
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(QSize(toolBar.imageWidth, toolBar.imageWidth));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolBarButton& button : toolBar.buttons) {
        if (button.command == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = MakeAction(*m_toolBar, button.command, {}, CommandSource::ToolBar);
        action->setIcon(SvgIcon(button.image));
        m_toolBar->addAction(action);
    }
    m_window->addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_prompts = new QtToolBarPrompts(*m_toolBar, m_events);
    m_prompts->WatchButtons();
    new QtToolBarDocking(*m_toolBar, [this] { ToggleToolBarDocking(); });
}

void QtFrameWindow::ToggleToolBarDocking()
{
    BarPlacement placement = GetBarPlacement(m_toolBarId);
    placement.floating = !placement.floating;
    if (placement.floating) {
        // Where the bar is now, where the window system allows it.
        const QPoint corner = m_toolBar->mapToGlobal(QPoint(0, 0));
        placement.position = {corner.x(), corner.y()};
    } else {
        // A floating bar still belongs to the side it was dragged off.
        placement.side = Side(m_window->toolBarArea(m_toolBar));
    }
    SetBarPlacement(m_toolBarId, placement);
}

void QtFrameWindow::IdleUpdate()
{
    if (!m_toolBar)
        return;
    QtCommandItems buttons(*m_toolBar, [this](unsigned id, std::string_view text) {
        return MakeAction(*m_toolBar, id, text, CommandSource::ToolBar);
    });
    m_events.OnIdleUpdate(buttons);
}

bool QtFrameWindow::QueryEndSession()
{
    return m_events.OnQueryEndSession();
}

void QtFrameWindow::EndSession()
{
    m_events.OnEndSession();
}

void QtFrameWindow::SetCaption(std::string_view caption)
{
    // Qt reads "[*]" in a title as the place of a modified mark; doubled, it shows as written.
    QString title = ToQString(caption);
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    m_window->setWindowTitle(title);
}

void QtFrameWindow::Show(ShowCommand command)
{
    if (command != ShowCommand::Hide && !m_statusTextSet)
        m_events.OnMenuSelect(0);
    switch (command) {
    case ShowCommand::Hide:
        m_window->hide();
        break;
    case ShowCommand::Normal:
    case ShowCommand::Restore:
        m_minimized->Forget();
        m_window->showNormal();
        break;
    case ShowCommand::Minimized:
        m_minimized->ShowMinimized();
        break;
    case ShowCommand::Maximized:
        m_minimized->Forget();
        m_window->showMaximized();
        break;
    case ShowCommand::Show:
        m_window->show();
        break;
    }
    RaiseFloatingToolBar();
}

void QtFrameWindow::RaiseFloatingToolBar()
{
    // A floating tool bar placed before the window first showed stays in front of it, as a
    // window manager keeps it; without one, the window would cover it.
    if (m_toolBar && m_toolBar->isFloating() && m_toolBar->isVisible())
        m_toolBar->raise();
}

bool QtFrameWindow::IsVisible() const
{
    return m_window->isVisible();
}

bool QtFrameWindow::IsMinimized() const
{
    return m_minimized->IsMinimized();
}

void QtFrameWindow::Activate()
{
    // Bringing a minimised window to the front leaves it minimised, as a start in that state
    // wants; whoever means to restore it shows it first.
    if (IsMinimized())
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    RaiseFloatingToolBar();
}

WindowPlacement QtFrameWindow::GetPlacement() const
{
    WindowPlacement placement;
    placement.showState = IsMinimized() ? 2 : m_window->isMaximized() ? 3 : 1;
    const QRect workArea = m_window->screen()->availableGeometry();
    placement.normal = ToRect(m_window->normalGeometry().translated(-workArea.topLeft()));
    return placement;
}

void QtFrameWindow::SetPlacement(const WindowPlacement& placement)
{
    const QRect workArea = m_window->screen()->availableGeometry();
    const QRect normal
        = QRect(placement.normal.left, placement.normal.top, placement.normal.Width(), placement.normal.Height())
              .translated(workArea.topLeft());
    // The rectangle is the normal one: set while the window is in its normal state, so that
    // it is what a maximised or minimised window comes back to.
    const Qt::WindowStates state = placement.showState == 3 ? Qt::WindowMaximized
        : placement.showState == 2                          ? Qt::WindowMinimized
                                                            : Qt::WindowNoState;
    m_window->setWindowState(Qt::WindowNoState);
    m_window->setGeometry(normal);
    m_minimized->Forget();
    m_window->setWindowState(state);
}

Rect QtFrameWindow::WorkArea() const
{
    return ToRect(m_window->screen()->availableGeometry());
}

Size QtFrameWindow::ScreenSize() const
{
    const QSize size = m_window->screen()->geometry().size();
    return {size.width(), size.height()};
}

Size QtFrameWindow::IconSize() const
{
    const int side = m_window->style()->pixelMetric(QStyle::PM_LargeIconSize);
    return {side, side};
}

QWidget* QtFrameWindow::Bar(unsigned barId) const
{
    if (barId == m_toolBarId && m_toolBar)
        return m_toolBar;
    if (barId == m_statusBarId)
        return m_window->statusBar();
    return nullptr;
}

void QtFrameWindow::ShowBar(unsigned barId, bool visible)
{
    if (QWidget* bar = Bar(barId))
        bar->setVisible(visible);
}

bool QtFrameWindow::IsBarVisible(unsigned barId) const
{
    const QWidget* bar = Bar(barId);
    return bar && bar->isVisibleTo(m_window.get());
}

BarPlacement QtFrameWindow::GetBarPlacement(unsigned barId) const
{
    BarPlacement placement;
    placement.visible = IsBarVisible(barId);
    if (barId != m_toolBarId || !m_toolBar) {
        placement.side = DockSide::Bottom;
        return placement;
    }
    placement.horizontal = m_toolBar->orientation() == Qt::Horizontal;
    placement.floating = m_toolBar->isFloating();
    if (placement.floating) {
        const QPoint corner = m_toolBar->frameGeometry().topLeft();
        placement.position = {corner.x(), corner.y()};
    } else {
        // Docked bars sit where the window lays them out.
        placement.side = Side(m_window->toolBarArea(m_toolBar));
    }
    return placement;
}

void QtFrameWindow::SetBarPlacement(unsigned barId, const BarPlacement& placement)
{
    if (barId == m_toolBarId && m_toolBar) {
        m_toolBar->hide();
        m_toolBar->setWindowFlags(Qt::Widget);
        m_window->addToolBar(Area(placement.side), m_toolBar);
        if (placement.floating) {
            // The window flags a tool bar takes when the user drags it off its dock.
            m_toolBar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
            m_toolBar->setOrientation(placement.horizontal ? Qt::Horizontal : Qt::Vertical);
            m_toolBar->adjustSize();
            m_toolBar->move(placement.position.x, placement.position.y);
        }
    }
    ShowBar(barId, placement.visible);
}

void QtFrameWindow::SetStatusText(std::string_view text)
{
    m_statusTextSet = true;
    m_statusText->setText(ToQString(text));
}

void QtFrameWindow::AcceptDroppedFiles(bool accept)
{
    m_window->setAcceptDrops(accept);
}

void QtFrameWindow::TrackPopupMenu(const MenuTemplate& menu, Point screenPoint)
{
    if (menu.popups.empty())
        return;
    QMenu popup(m_window.get());
    popup.setObjectName(QStringLiteral("contextMenu"));
    FillPopup(popup, menu.popups.front(), std::nullopt);
    const QAction* chosen = popup.exec(QPoint(screenPoint.x, screenPoint.y));
    // The menu is gone by the time its command runs.
    if (chosen && chosen->isEnabled())
        m_events.OnCommand(QtCommandItems::CommandOf(*chosen), CommandSource::ContextMenu);
}

}  // namespace sekreta::platform::qt
