#pragma once

#include "platform/WindowSystem.h"
#include "platform/qt/QtGrowingWindows.h"
#include "platform/qt/QtSessionEnd.h"

#include <QMetaObject>

#include <optional>
#include <vector>

class QWidget;

namespace sekreta::platform::qt {

class QtFrameWindow;

// Windows, dialogs, message boxes and file dialogs over Qt Widgets, and Qt's event loop. A
// QApplication must exist for as long as this does. Whenever the event loop is about to wait,
// the frames' tool bars are brought up to date. While the user logs off, a dialog or box shows
// only with the session manager's leave; without it, it answers as if dismissed.
class QtWindowSystem final : public WindowSystem {
public:
    QtWindowSystem();
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    std::unique_ptr<FrameWindow> CreateFrameWindow(const FrameTemplate& frame, FrameWindowEvents& events) override;
    int RunModalDialog(const DialogTemplate& dialog, DialogEvents& events) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::filesystem::path> ChooseFile(const FileDialogRequest& request) override;
    void SetWaitCursor(bool waiting) override;
    void Post(std::function<void()> task) override;
    int RunMessageLoop() override;
    void Quit(int exitCode) override;

    // The frames that exist now, oldest first.
    const std::vector<QtFrameWindow*>& Frames() const { return m_frames; }
    // The log-off's questions and the session's end; Qt's session manager drives it by itself.
    QtSessionEnd& Session() { return m_session; }
    bool IsWaitCursorShown() const { return m_waitCursorDepth > 0; }
    // The idle update of every frame; the event loop runs it by itself.
    void Idle();

    // Called by frames as they come and go.
    void AddFrame(QtFrameWindow& frame);
    void ForgetFrame(QtFrameWindow& frame);

private:
    // What a dialog or box is shown over: the dialog in front, else the active window.
    QWidget* ModalParent() const;
    static void GiveKeyboardBack(QWidget* owner);

    std::vector<QtFrameWindow*> m_frames;
    std::vector<QMetaObject::Connection> m_connections;
    QtSessionEnd m_session;
    QtGrowingWindows m_growingWindows;
    int m_waitCursorDepth = 0;
    bool m_inIdle = false;
    bool m_looping = false;
    std::optional<int> m_exitCode;
};

}  // namespace sekreta::platform::qt
