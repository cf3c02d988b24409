#include "platform/qt/QtWindowSystem.h"

#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtFileChooser.h"
#include "platform/qt/QtFrameWindow.h"
#include "platform/qt/QtText.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

namespace sekreta::platform::qt {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the order they are offered; the first is the default.
std::vector<QMessageBox::StandardButton> BoxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case MessageButtons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case MessageButtons::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case MessageButtons::Ok:
        break;
    }
    return {QMessageBox::Ok};
}

int Answer(QMessageBox::StandardButton button, MessageButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        break;
    }
    // Closed some other way: as Esc would answer.
    return DismissalAnswer(buttons);
}

// The box as Windows copies it: caption, text and buttons between lines of dashes.
QString BoxText(const QMessageBox& box, const std::vector<QMessageBox::StandardButton>& order)
{
    const QString rule = QStringLiteral("---------------------------\n");
    QStringList buttons;
    for (const QMessageBox::StandardButton button : order)
        buttons << QString(box.button(button)->text()).remove(u'&');
    return rule + box.windowTitle() + u'\n' + rule + box.text() + u'\n' + rule + buttons.join(QStringLiteral("   "))
        + u'\n' + rule;
}

}  // namespace

QtWindowSystem::QtWindowSystem()
    : m_session(*this)
{
    // The program ends its loop itself, once its main window has closed its document.
    QApplication::setQuitOnLastWindowClosed(false);
    m_connections.push_back(QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [this] { Idle(); }));
}

QtWindowSystem::~QtWindowSystem()
{
    for (const QMetaObject::Connection& connection : m_connections)
        QObject::disconnect(connection);
    while (m_waitCursorDepth > 0)
        SetWaitCursor(false);
}

std::unique_ptr<FrameWindow> QtWindowSystem::CreateFrameWindow(const FrameTemplate& frame, FrameWindowEvents& events)
{
    return std::make_unique<QtFrameWindow>(*this, frame, events);
}

void QtWindowSystem::AddFrame(QtFrameWindow& frame)
{
    m_frames.push_back(&frame);
    // Dialogs and boxes show the program's icon too.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(frame.Widget().windowIcon());
}

void QtWindowSystem::ForgetFrame(QtFrameWindow& frame)
{
    std::erase(m_frames, &frame);
}

QWidget* QtWindowSystem::ModalParent() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const auto visible = std::find_if(
        m_frames.begin(), m_frames.end(), [](const QtFrameWindow* frame) { return frame->Widget().isVisible(); });
    return visible == m_frames.end() ? nullptr : &(*visible)->Widget();
}

void QtWindowSystem::GiveKeyboardBack(QWidget* owner)
{
    // As on Windows, the window a modal one was shown over takes the keyboard back; without a
    // window manager to do it, nothing else would.
    if (owner && owner->isVisible())
        owner->activateWindow();
}

int QtWindowSystem::RunModalDialog(const DialogTemplate& dialog, DialogEvents& events)
{
    if (!m_session.MayInteract())
        return IDCANCEL;
    QWidget* owner = ModalParent();
    int result = IDCANCEL;
    {
        QtDialogWindow window(dialog, events, owner);
        result = window.Run();
    }
    GiveKeyboardBack(owner);
    return result;
}

int QtWindowSystem::ShowMessageBox(const MessageBoxRequest& request)
{
    if (!m_session.MayInteract())
        return DismissalAnswer(request.buttons);
    QMessageBox box(ModalParent());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(ToQString(request.caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(request.text));
    box.setIcon(BoxIcon(request.icon));
    const std::vector<QMessageBox::StandardButton> buttons = BoxButtons(request.buttons);
    for (const QMessageBox::StandardButton button : buttons)
        box.addButton(button);
    box.setDefaultButton(buttons.front());
    // Ctrl+C copies the box as text, for pasting into a question or a report.
    QShortcut copy(QKeySequence::Copy, &box);
    QObject::connect(&copy, &QShortcut::activated, &box,
        [&box, &buttons] { QGuiApplication::clipboard()->setText(BoxText(box, buttons)); });
    box.exec();
    const int answer = Answer(box.standardButton(box.clickedButton()), request.buttons);
    GiveKeyboardBack(box.parentWidget());
    return answer;
}

std::optional<std::filesystem::path> QtWindowSystem::ChooseFile(const FileDialogRequest& request)
{
    if (!m_session.MayInteract())
        return std::nullopt;
    QWidget* owner = ModalParent();
    std::optional<std::filesystem::path> chosen = QtFileChooser::Choose(request, owner);
    GiveKeyboardBack(owner);
    return chosen;
}

void QtWindowSystem::SetWaitCursor(bool waiting)
{
    // Counted like the framework's own, never below zero: one extra end just restores the arrow.
    if (waiting) {
        ++m_waitCursorDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitCursorDepth > 0) {
        --m_waitCursorDepth;
        QApplication::restoreOverrideCursor();
    }
}

void QtWindowSystem::Post(std::function<void()> task)
{
    // A queued call is an event posted to the application object's thread, whichever thread
    // posts it; Qt runs such events in the order they were posted.
    QMetaObject::invokeMethod(qApp, std::move(task), Qt::QueuedConnection);
}

int QtWindowSystem::RunMessageLoop()
{
    // The program may have ended before its loop began.
    if (m_exitCode)
        return *m_exitCode;
    m_looping = true;
    const int exitCode = QApplication::exec();
    m_looping = false;
    return m_exitCode.value_or(exitCode);
}

void QtWindowSystem::Quit(int exitCode)
{
    m_exitCode = exitCode;
    if (m_looping)
        QApplication::exit(exitCode);
}

void QtWindowSystem::Idle()
{
    if (m_inIdle)
        return;
    m_inIdle = true;
    for (QtFrameWindow* frame : std::vector<QtFrameWindow*>(m_frames))
        frame->IdleUpdate();
    m_inIdle = false;
}

}  // namespace sekreta::platform::qt
