#pragma once

#include <QObject>

#include <functional>

class QToolBar;

namespace sekreta::platform::qt {

// A double-click on a tool bar outside its buttons floats it when it is docked and docks it
// when it floats, as on Windows. On Wayland it is the way back to the dock: there Qt's own
// dragging of a floating bar cannot work, as the compositor neither moves a window where the
// program asks nor says where it is; so the compositor moves a floating bar instead.
class QtToolBarDocking final : public QObject {
public:
    // `toggle` floats or docks the bar.
    QtToolBarDocking(QToolBar& toolBar, std::function<void()> toggle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolBar& m_toolBar;
    std::function<void()> m_toggle;
};

}  // namespace sekreta::platform::qt
