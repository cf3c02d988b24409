#include "platform/qt/QtMinimizedState.h"

#include "platform/qt/QtWayland.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace sekreta::platform::qt {

QtMinimizedState::QtMinimizedState(QWidget& window)
    : QObject(&window)
    , m_window(window)
{
    m_window.installEventFilter(this);
}

bool QtMinimizedState::IsMinimized() const
{
    // Elsewhere the window system tells Qt, and Qt is right.
    return m_window.isMinimized() || (m_minimized && OnWayland());
}

void QtMinimizedState::ShowMinimized()
{
    m_minimized = true;
    const QWindow* handle = m_window.windowHandle();
    if (!OnWayland() || (handle && handle->isExposed())) {
        m_window.showMinimized();
        return;
    }
    m_minimizeWhenExposed = true;
    m_window.show();
}

void QtMinimizedState::Forget()
{
    m_minimized = false;
    m_minimizeWhenExposed = false;
}

void QtMinimizedState::OnWindowStateChanged(Qt::WindowState state)
{
    if (state == Qt::WindowMinimized)
        m_minimized = true;
}

void QtMinimizedState::MinimizeOnceShown()
{
    if (!m_minimizeWhenExposed)
        return;
    m_minimizeWhenExposed = false;
    m_window.showMinimized();
}

bool QtMinimizedState::eventFilter(QObject* watched, QEvent* event)
{
    QWindow* handle = m_window.windowHandle();
    if (watched == &m_window) {
        if (event->type() == QEvent::Show && handle) {
            // The user minimises through Qt's own decorations on the window, not the widget.
            connect(handle, &QWindow::windowStateChanged, this, &QtMinimizedState::OnWindowStateChanged,
                Qt::UniqueConnection);
            handle->installEventFilter(this);
        } else if (event->type() == QEvent::ActivationChange && m_window.isActiveWindow() && !m_minimizeWhenExposed) {
            m_minimized = false;
        }
    } else if (watched == handle && event->type() == QEvent::Expose && m_minimizeWhenExposed && handle->isExposed()) {
        // After the first frame has reached the compositor.
        QMetaObject::invokeMethod(this, &QtMinimizedState::MinimizeOnceShown, Qt::QueuedConnection);
    }
    return false;
}

}  // namespace sekreta::platform::qt
