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
    const bool left = (event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseButtonPress)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (watched != &m_toolBar || !left)
        return false;
    if (event->type() == QEvent::MouseButtonDblClick) {
        // After the bar has let go of the press that began the double-click.
        QMetaObject::invokeMethod(this, [this] { m_toggle(); }, Qt::QueuedConnection);
        return true;
    }
    if (!m_toolBar.isFloating() || !OnWayland() || !m_toolBar.windowHandle())
        return false;
    return m_toolBar.windowHandle()->startSystemMove();
}

}  // namespace sekreta::platform::qt
