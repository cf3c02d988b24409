#pragma once

#include "platform/FrameWindow.h"

#include <QObject>
#include <QTimer>

class QToolBar;

namespace sekreta::platform::qt {

// The status bar prompts and tips of a tool bar's buttons. A button's prompt shows once the
// pointer has rested on it for a moment (at once while a prompt is already shown or the left
// button is held); "nothing highlighted" follows when the pointer leaves the bar or a button
// is released. The program gives the texts through the frame's events.
class QtToolBarPrompts final : public QObject {
public:
    QtToolBarPrompts(QToolBar& toolBar, FrameWindowEvents& events);

    // Watches the buttons the bar has now.
    void WatchButtons();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    unsigned CommandAt(QObject* watched) const;
    void ShowPrompt(unsigned id);
    void ClearPrompt();

    QToolBar& m_toolBar;
    FrameWindowEvents& m_events;
    QTimer m_restTimer;
    unsigned m_pending = 0;
    bool m_promptShown = false;
};

}  // namespace sekreta::platform::qt
