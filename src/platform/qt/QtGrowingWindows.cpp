#include "platform/qt/QtGrowingWindows.h"

#include "platform/qt/QtWayland.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace sekreta::platform::qt {

QtGrowingWindows::QtGrowingWindows()
{
    if (OnWayland())
        qApp->installEventFilter(this);
}

bool QtGrowingWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show && event->type() != QEvent::LayoutRequest)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only dialogs and boxes have a fixed size; the main window's frequent layouts pass by.
    if (!widget || widget->windowType() != Qt::Dialog)
        return false;
    // A message box fixes its size again whenever it lays itself out, after this filter has
    // seen the event: the bound is lifted once it has.
    QMetaObject::invokeMethod(
        widget, [widget] { widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }, Qt::QueuedConnection);
    return false;
}

}  // namespace sekreta::platform::qt
