#include "platform/qt/QtToolBarDocking.h"

#include "platform/qt/QtWayland.h"

#include <QMouseEvent>
#include <QToolBar>
#include <QWindow>

#include <utility>

namespace sekreta::platform::qt {

QtToolBarDocking::QtToolBarDocking(QToolBar& toolBar, std::function<void()> toggle)
    : QObject(&toolBar)
    , m_toolBar(toolBar)
    , m_toggle(std::move(toggle))
{
    m_toolBar.installEventFilter(this);
}

bool QtToolBarDocking::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_toolBar)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (mouse->button() != Qt::LeftButton)
            return false;
        // After the bar has let go of the press that began the double-click.
        QMetaObject::invokeMethod(this, [this] { m_toggle(); }, Qt::QueuedConnection);
        return true;
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton || !m_toolBar.isFloating() || !OnWayland() || !m_toolBar.windowHandle())
            return false;
        return m_toolBar.windowHandle()->startSystemMove();
    default:
        return false;
    }
}

}  // namespace sekreta::platform::qt
