#pragma once

#include <QObject>

namespace sekreta::platform::qt {

// Weston ends a program whose maximised window keeps another size than the one it was given,
// and Qt 6.4's Wayland title bar offers to maximise every window, dialogs and message boxes of
// fixed size too, as does the compositor's own key (Super+Shift+M). So on Wayland a dialog or a
// box keeps its size as its least and may grow: maximised, it takes the size it is given.
class QtGrowingWindows final : public QObject {
public:
    // Watches every window that shows from now on, on Wayland only.
    QtGrowingWindows();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace sekreta::platform::qt
