#include "platform/qt/QtSessionEnd.h"

#include "platform/qt/QtFrameWindow.h"
#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QSessionManager>

#include <vector>

namespace sekreta::platform::qt {

namespace {

class SessionManager final : public QtSessionEnd::Manager {
public:
    explicit SessionManager(QSessionManager& manager)
        : m_manager(manager)
    {
    }

    bool AllowsInteraction() override { return m_manager.allowsInteraction(); }
    void Release() override { m_manager.release(); }
    void Cancel() override { m_manager.cancel(); }

private:
    QSessionManager& m_manager;
};

}  // namespace

QtSessionEnd::QtSessionEnd(QtWindowSystem& system)
    : m_system(system)
{
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        SessionManager steps(manager);
        Query(steps);
    });
    // The session manager's last word reaches the program as Qt's quit.
    qApp->installEventFilter(this);
}

bool QtSessionEnd::Query(Manager& manager)
{
    m_manager = &manager;
    m_interaction.reset();
    bool agreed = true;
    for (QtFrameWindow* frame : std::vector<QtFrameWindow*>(m_system.Frames())) {
        if (!frame->QueryEndSession()) {
            agreed = false;
            break;
        }
    }
    m_manager = nullptr;
    if (!agreed)
        manager.Cancel();
    if (m_interaction.value_or(false))
        manager.Release();
    return agreed;
}

bool QtSessionEnd::MayInteract()
{
    if (!m_manager)
        return true;
    // Asked before the query's first question; the answer holds for the rest of it.
    if (!m_interaction)
        m_interaction = m_manager->AllowsInteraction();
    return *m_interaction;
}

void QtSessionEnd::End()
{
    // A frame cannot close under an open dialog or menu: every loop ends instead, each as if
    // cancelled, and the program with them.
    if (!QApplication::activeModalWidget() && !QApplication::activePopupWidget()) {
        for (QtFrameWindow* frame : std::vector<QtFrameWindow*>(m_system.Frames()))
            frame->EndSession();
    }
    m_system.Quit(0);
}

bool QtSessionEnd::eventFilter(QObject* watched, QEvent* event)
{
    // Left to Qt, the quit would close every window, and the main window's close asks to save.
    if (watched == qApp && event->type() == QEvent::Quit) {
        End();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sekreta::platform::qt
