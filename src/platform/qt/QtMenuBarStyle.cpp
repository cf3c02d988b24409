#include "platform/qt/QtMenuBarStyle.h"

#include <QApplication>

namespace sekreta::platform::qt {

QtMenuBarStyle::QtMenuBarStyle()
    : QProxyStyle(QApplication::style()->name())
{
}

int QtMenuBarStyle::styleHint(
    StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const
{
    if (hint == SH_MenuBar_AltKeyNavigation)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace sekreta::platform::qt
