// The main window the Qt backend builds from the program's templates, driven as a person
// would: menus, keys, tool bar, status bar, caption, placement, bars, drops and the close box.
#include "framework/FrameworkIds.h"
#include "platform/qt/QtFrameWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "qt/FrameEventsRecorder.h"
#include "qt/ModalDriver.h"
#include "resources/ResourceIds.h"
#include "resources/SekretaResources.h"

#include <QAction>
#include <QApplication>
#include <QCommonStyle>
#include <QEventLoop>
#include <QHelpEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QUrl>
#include <QWindow>

#include <gtest/gtest.h>

namespace sekreta::test {
namespace {

using platform::CommandSource;
using Sent = FrameEventsRecorder::Sent;

int IndexOf(const platform::CommandItems& items, unsigned id)
{
    for (int index = 0; index < items.Count(); ++index) {
        if (items.Id(index) == id)
            return index;
    }
    return -1;
}

class FrameWindowTest : public testing::Test {
protected:
    FrameWindowTest()
    {
        const platform::ResourceSet& resources = SekretaResources();
        m_frame = std::make_unique<platform::qt::QtFrameWindow>(m_windows,
            platform::FrameTemplate {resources.FindMenu(IDR_MAINFRAME), resources.FindAccelerators(IDR_MAINFRAME),
                resources.FindToolBar(IDR_MAINFRAME), ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR,
                resources.FindIcon(IDR_MAINFRAME)},
            m_events);
    }

    QMainWindow& Window() { return m_frame->Widget(); }
    void ShowActive()
    {
        m_frame->Show(platform::ShowCommand::Normal);
        m_frame->Activate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }
    QMenu& Popup(const QString& title)
    {
        for (QAction* action : Window().menuBar()->actions()) {
            if (action->text() == title)
                return *action->menu();
        }
        throw std::runtime_error("no pop-up " + title.toStdString());
    }
    QAction& Action(QWidget& owner, unsigned id)
    {
        for (QAction* action : owner.actions()) {
            if (!action->isSeparator() && action->data().toUInt() == id)
                return *action;
        }
        throw std::runtime_error("no action " + std::to_string(id));
    }
    QToolButton& Button(unsigned id)
    {
        return *static_cast<QToolButton*>(m_frame->ToolBar().widgetForAction(&Action(m_frame->ToolBar(), id)));
    }

    platform::qt::QtWindowSystem m_windows;
    FrameEventsRecorder m_events;
    std::unique_ptr<platform::qt::QtFrameWindow> m_frame;
};

TEST_F(FrameWindowTest, TheMenuBarIsTheTemplatesWithItsMnemonicsAndKeyNames)
{
    const platform::MenuTemplate& menu = *SekretaResources().FindMenu(IDR_MAINFRAME);
    const QList<QAction*> popups = Window().menuBar()->actions();
    ASSERT_EQ(popups.size(), static_cast<qsizetype>(menu.popups.size()));
    for (std::size_t popup = 0; popup < menu.popups.size(); ++popup) {
        EXPECT_EQ(popups[popup]->text().toStdString(), menu.popups[popup].text);
        const QList<QAction*> items = popups[popup]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(menu.popups[popup].items.size()));
        for (std::size_t item = 0; item < menu.popups[popup].items.size(); ++item) {
            const platform::MenuItemTemplate& expected = menu.popups[popup].items[item];
            // Qt shows what follows the tab at the item's right, as the key to press.
            EXPECT_EQ(items[item]->text().toStdString(), expected.text);
            EXPECT_EQ(items[item]->isSeparator(), expected.id == 0);
            EXPECT_EQ(items[item]->isEnabled(), !expected.grayed) << expected.text;
            EXPECT_TRUE(items[item]->shortcut().isEmpty()) << "keys are the accelerator table's alone";
        }
    }
}

TEST_F(FrameWindowTest, AnOpeningMenuTakesItsStatesFromTheProgramAndSendsTheItemChosen)
{
    ShowActive();
    m_events.onInitMenu = [](platform::Menu& menu) {
        const int recent = IndexOf(menu, ID_FILE_MRU_FILE1);
        if (recent < 0)
            return;
        while (menu.Id(recent) >= ID_FILE_MRU_FILE1 && menu.Id(recent) <= ID_FILE_MRU_LAST)
            menu.Remove(recent);
        menu.Insert(recent, ID_FILE_MRU_FILE1, "&1 Letters.sek");
        menu.Insert(recent + 1, ID_FILE_MRU_FILE1 + 1, "&2 Caf\xE9.sek");
        menu.Enable(IndexOf(menu, ID_FILE_SAVE), false);
        menu.SetCheck(IndexOf(menu, ID_FILE_NEW), true);
    };
    QTest::keyClick(&Window(), Qt::Key_F, Qt::AltModifier);
    QMenu& file = Popup("&File");
    ASSERT_TRUE(file.isVisible());
    EXPECT_EQ(m_events.menusOpened, 1);
    EXPECT_FALSE(Action(file, ID_FILE_SAVE).isEnabled());
    EXPECT_TRUE(Action(file, ID_FILE_NEW).isChecked());
    EXPECT_EQ(Action(file, ID_FILE_MRU_FILE1 + 1).text(), QStringLiteral("&2 Caf\u00E9.sek"));
    QTest::keyClick(&file, Qt::Key_2);
    EXPECT_FALSE(file.isVisible());
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_FILE_MRU_FILE1 + 1, CommandSource::Menu}}));

    QTest::keyClick(&Window(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(file.isVisible());
    EXPECT_EQ(file.actions().size(), 11) << "the inserted items replace the placeholder each time";
    QTest::keyClick(&file, Qt::Key_S);
    EXPECT_EQ(m_events.commands.size(), 1u) << "a grayed item sends nothing";
    QTest::keyClick(&file, Qt::Key_Escape);
}

TEST_F(FrameWindowTest, ALoneAltTakesTheKeyboardIntoTheMenuBarWhateverTheStyle)
{
    QApplication::setStyle(new QCommonStyle);  // a style that offers no way in by itself
    ShowActive();
    QTest::keyClick(&m_frame->QtList().View(), Qt::Key_Alt, Qt::AltModifier);
    EXPECT_EQ(Window().menuBar()->activeAction(), Popup("&File").menuAction());
    QTest::keyClick(Window().menuBar(), Qt::Key_Escape);
    QApplication::setStyle(QStringLiteral("Fusion"));
}

TEST_F(FrameWindowTest, AcceleratorsSendTheirCommandWhateverTheMenuShows)
{
    ShowActive();
    QWidget* list = &m_frame->QtList().View();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(list, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_Backspace, Qt::AltModifier);
    QTest::keyClick(list, Qt::Key_F6, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(m_events.commands,
        (std::vector<Sent> {{ID_EDIT_COPYPASSWORD, CommandSource::Accelerator},
            {ID_EDIT_MODIFY, CommandSource::Accelerator}, {ID_EDIT_MODIFY, CommandSource::Accelerator},
            {ID_EDIT_DELETE, CommandSource::Accelerator}, {ID_EDIT_PASTE, CommandSource::Accelerator},
            {ID_EDIT_UNDO, CommandSource::Accelerator}, {ID_PREV_PANE, CommandSource::Accelerator}}));
    EXPECT_EQ(m_events.menusOpened, 0) << "keys do not open menus to find their command";
}

TEST_F(FrameWindowTest, TheToolBarHasTheTemplatesButtonsWithPicturesAndIdleStates)
{
    ShowActive();
    QToolBar& toolBar = m_frame->ToolBar();
    EXPECT_TRUE(toolBar.isMovable());
    EXPECT_TRUE(toolBar.isFloatable());
    EXPECT_EQ(toolBar.allowedAreas(), Qt::AllToolBarAreas);
    const platform::ToolBarTemplate& expected = *SekretaResources().FindToolBar(IDR_MAINFRAME);
    const QList<QAction*> actions = toolBar.actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected.buttons.size()));
    for (std::size_t index = 0; index < expected.buttons.size(); ++index) {
        EXPECT_EQ(actions[index]->isSeparator(), expected.buttons[index].command == 0);
        if (expected.buttons[index].command != 0) {
            EXPECT_EQ(actions[index]->data().toUInt(), expected.buttons[index].command);
            EXPECT_FALSE(actions[index]->icon().pixmap(16, 16).isNull()) << expected.buttons[index].command;
        }
    }

    m_events.onIdle = [](platform::CommandItems& buttons) {
        EXPECT_EQ(buttons.Id(3), 0u) << "separators count";
        buttons.Enable(IndexOf(buttons, ID_EDIT_DELETE), false);
    };
    m_windows.Idle();
    EXPECT_FALSE(Button(ID_EDIT_DELETE).isEnabled());
    QTest::mouseClick(&Button(ID_EDIT_DELETE), Qt::LeftButton);
    QTest::mouseClick(&Button(ID_EDIT_ADD), Qt::LeftButton);
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_EDIT_ADD, CommandSource::ToolBar}}));

    // The event loop brings the buttons up to date whenever it waits.
    const int before = m_events.idleUpdates;
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_GT(m_events.idleUpdates, before);
}

TEST_F(FrameWindowTest, TheStatusBarShowsPromptsForMenuItemsAndButtonsAndButtonsHaveTips)
{
    ShowActive();
    EXPECT_EQ(m_events.selected, std::vector<unsigned> {0}) << "nothing is highlighted when the window shows";
    m_events.selected.clear();
    m_frame->SetStatusText("Ready");
    EXPECT_EQ(Window().findChild<QLabel*>("statusText")->text(), "Ready");

    QMenu& edit = Popup("&Edit");
    edit.popup(Window().mapToGlobal(QPoint(0, 0)));
    edit.setActiveAction(&Action(edit, ID_EDIT_DELETE));
    edit.hide();
    EXPECT_EQ(m_events.selected, (std::vector<unsigned> {ID_EDIT_DELETE, 0}));

    // The pointer rests on a button: its prompt after a moment, the next one at once.
    m_events.selected.clear();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&Button(ID_FILE_OPEN), &enter);
    EXPECT_TRUE(m_events.selected.empty());
    QTRY_COMPARE(m_events.selected, std::vector<unsigned> {ID_FILE_OPEN});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&Button(ID_FILE_OPEN), &leave);
    QApplication::sendEvent(&Button(ID_FILE_SAVE), &enter);
    EXPECT_EQ(m_events.selected, (std::vector<unsigned> {ID_FILE_OPEN, ID_FILE_SAVE}));
    QApplication::sendEvent(&Button(ID_FILE_SAVE), &leave);
    QApplication::sendEvent(&m_frame->ToolBar(), &leave);
    EXPECT_EQ(m_events.selected, (std::vector<unsigned> {ID_FILE_OPEN, ID_FILE_SAVE, 0}));

    QToolButton& about = Button(ID_APP_ABOUT);
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), about.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&about, &tip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Tip %1").arg(ID_APP_ABOUT));
    QToolTip::hideText();
}

TEST_F(FrameWindowTest, TheCaptionIsShownAsWritten)
{
    m_frame->SetCaption("Caf\xE9 [*].sek - Sekreta");
    ShowActive();
    EXPECT_EQ(Window().windowHandle()->title(), QStringLiteral("Caf\u00E9 [*].sek - Sekreta"));
}

TEST_F(FrameWindowTest, ThePlacementComesBackAsItWasSetAndAMaximisedWindowRestoresToIt)
{
    const platform::Rect workArea = m_frame->WorkArea();
    EXPECT_EQ(m_frame->ScreenSize().width, workArea.Width());
    EXPECT_EQ(m_frame->IconSize(), (platform::Size {32, 32}));

    m_frame->SetPlacement({1, {40, 30, 700, 530}});
    m_frame->Show(platform::ShowCommand::Normal);
    EXPECT_EQ(m_frame->GetPlacement().showState, 1);
    EXPECT_EQ(m_frame->GetPlacement().normal, (platform::Rect {40, 30, 700, 530}));

    m_frame->Show(platform::ShowCommand::Maximized);
    EXPECT_EQ(m_frame->GetPlacement().showState, 3);
    EXPECT_EQ(m_frame->GetPlacement().normal, (platform::Rect {40, 30, 700, 530}));
    m_frame->Show(platform::ShowCommand::Restore);
    EXPECT_EQ(Window().geometry().size(), QSize(660, 500));
    m_frame->Show(platform::ShowCommand::Minimized);
    m_frame->Activate();
    EXPECT_TRUE(m_frame->IsMinimized()) << "brought to the front, a minimised window stays so";

    m_frame->Show(platform::ShowCommand::Hide);
    m_frame->SetPlacement({3, {10, 10, 410, 310}});
    EXPECT_FALSE(m_frame->IsVisible()) << "placing does not show";
    m_frame->Show(platform::ShowCommand::Show);
    EXPECT_EQ(m_frame->GetPlacement().showState, 3);
    EXPECT_EQ(m_frame->GetPlacement().normal, (platform::Rect {10, 10, 410, 310}));

    // A start in the minimised state shows the window minimised and brings it to the front.
    m_frame->Show(platform::ShowCommand::Minimized);
    m_frame->Activate();
    EXPECT_EQ(m_frame->GetPlacement().showState, 2);
}

TEST_F(FrameWindowTest, TheToolBarFloatsDocksOnAnySideAndHides)
{
    ShowActive();
    EXPECT_EQ(m_frame->GetBarPlacement(ID_VIEW_TOOLBAR), platform::BarPlacement {});
    EXPECT_TRUE(m_frame->IsBarVisible(ID_VIEW_STATUS_BAR));

    m_frame->SetBarPlacement(ID_VIEW_TOOLBAR, {true, true, platform::DockSide::Top, {300, 200}, false});
    const platform::BarPlacement floating = m_frame->GetBarPlacement(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(floating.floating);
    EXPECT_FALSE(floating.horizontal);
    EXPECT_EQ(floating.position, (platform::Point {300, 200}));
    EXPECT_TRUE(m_frame->ToolBar().isWindow());

    m_frame->SetBarPlacement(ID_VIEW_TOOLBAR, {true, false, platform::DockSide::Left, {-1, -1}, true});
    EXPECT_EQ(m_frame->GetBarPlacement(ID_VIEW_TOOLBAR),
        (platform::BarPlacement {true, false, platform::DockSide::Left, {-1, -1}, false}));
    EXPECT_EQ(Window().toolBarArea(&m_frame->ToolBar()), Qt::LeftToolBarArea);

    // A double-click beside the buttons floats the bar, and another docks it where it was.
    for (const bool floats : {true, false}) {
        QTest::mouseDClick(&m_frame->ToolBar(), Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_COMPARE(m_frame->GetBarPlacement(ID_VIEW_TOOLBAR).floating, floats);
    }
    EXPECT_EQ(Window().toolBarArea(&m_frame->ToolBar()), Qt::LeftToolBarArea);

    m_frame->ShowBar(ID_VIEW_TOOLBAR, false);
    m_frame->ShowBar(ID_VIEW_STATUS_BAR, false);
    EXPECT_FALSE(m_frame->IsBarVisible(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(m_frame->IsBarVisible(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(Window().statusBar()->isVisible());
    m_frame->ShowBar(ID_VIEW_TOOLBAR, true);
    EXPECT_TRUE(m_frame->ToolBar().isVisible());
}

TEST_F(FrameWindowTest, DroppedFilesReachTheProgramOnceTheDropIsOver)
{
    ShowActive();
    m_frame->AcceptDroppedFiles(true);
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile("/tmp/a.sek"), QUrl("https://example.com/b.sek"), QUrl::fromLocalFile("/tmp/c d.sek")});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Window(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Window(), &drop);
    EXPECT_TRUE(m_events.dropped.empty()) << "not while the drop is going on";
    QTRY_COMPARE(m_events.dropped.size(), 1u);
    EXPECT_EQ(m_events.dropped.front(), (std::vector<std::filesystem::path> {"/tmp/a.sek", "/tmp/c d.sek"}));
}

TEST_F(FrameWindowTest, TheCloseBoxAsksTheProgramWhichClosesTheWindowItself)
{
    ShowActive();
    Window().close();
    EXPECT_EQ(m_events.closeRequests, 1);
    EXPECT_TRUE(m_frame->IsVisible());
}

TEST_F(FrameWindowTest, TheContextMenuShowsTheStatesOfTheProgramAndSendsTheChoiceAfterClosing)
{
    ShowActive();
    m_events.onInitMenu = [](platform::Menu& menu) { menu.Enable(IndexOf(menu, ID_EDIT_DELETE), false); };
    ModalDriver driver;
    bool deleteEnabled = true;
    driver.Expect("the context menu", [&](QWidget& popup) {
        deleteEnabled = Action(popup, ID_EDIT_DELETE).isEnabled();
        QTest::keyClick(&popup, Qt::Key_D);
        QTest::keyClick(&popup, Qt::Key_P);
    });
    m_frame->TrackPopupMenu(*SekretaResources().FindMenu(IDR_CONTEXTMENU), {100, 100});
    EXPECT_FALSE(deleteEnabled);
    EXPECT_EQ(m_events.commands, (std::vector<Sent> {{ID_EDIT_COPYPASSWORD, CommandSource::ContextMenu}}));
}

}  // namespace
}  // namespace sekreta::test
