#pragma once

#include <QProxyStyle>

namespace sekreta::platform::qt {

// The application's style for a menu bar, with the keyboard's way into the bar that the
// program has on every desktop: Alt pressed and released alone highlights the first menu,
// Left and Right move along the bar, Down or Enter opens the menu, a menu's letter opens it,
// and Esc leaves the bar to the window.
class QtMenuBarStyle final : public QProxyStyle {
public:
    QtMenuBarStyle();

    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override;
};

}  // namespace sekreta::platform::qt
