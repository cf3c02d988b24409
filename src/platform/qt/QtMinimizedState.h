#pragma once

#include <QObject>

class QWidget;

namespace sekreta::platform::qt {

// Whether a main window is minimised, and minimising it, where the window system gives no
// help. A Wayland compositor never tells a program that its window was minimised, Qt takes
// the state back as soon as it has asked for it, and a request made before the compositor
// has shown the window is ignored. So on Wayland a window counts as minimised from the moment
// it is minimised (by the program, or by the user through Qt's window decorations) until it
// is activated or the program shows it otherwise; and a window that has not been shown yet is
// shown first, then minimised.
class QtMinimizedState final : public QObject {
public:
    explicit QtMinimizedState(QWidget& window);

    bool IsMinimized() const;
    void ShowMinimized();
    // The program shows the window normal or maximised.
    void Forget();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnWindowStateChanged(Qt::WindowState state);
    void MinimizeOnceShown();

    QWidget& m_window;
    bool m_minimized = false;
    bool m_minimizeWhenExposed = false;
};

}  // namespace sekreta::platform::qt
