#pragma once

#include "platform/WindowSystem.h"
#include "platform/headless/HeadlessScript.h"

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace sekreta::platform {

class HeadlessFrameWindow;

// The window system of tests. Modal dialogs, message boxes and file dialogs are answered from
// a queue of scripted events, in order; each one shown is recorded. A dialog or box that
// appears with nothing scripted for it or under the busy cursor, a script that does not fit
// what appears, and a scripted event that never appears are problems, handed to the reporter
// (a test makes them failures).
//
// There is no loop: the message loop gets its turn, and runs the posted tasks, when a user
// action of a frame returns with no other action or modal window under way, and when a test
// calls RunPostedTasks where the program would enter its loop.
class HeadlessWindowSystem : public WindowSystem {
public:
    using ProblemReporter = std::function<void(const std::string& problem)>;

    // One action of the user on a frame, for as long as it lives.
    class UserAction {
    public:
        explicit UserAction(HeadlessWindowSystem& system);
        ~UserAction();
        UserAction(const UserAction&) = delete;
        UserAction& operator=(const UserAction&) = delete;

    private:
        HeadlessWindowSystem& m_system;
    };

    explicit HeadlessWindowSystem(ProblemReporter reportProblem);
    ~HeadlessWindowSystem() override;

    // Scripts, answered in the order they are queued.
    DialogScript& ExpectDialog(unsigned templateId);
    void ExpectMessageBox(int answer);
    void ExpectMessageBox(std::string text, int answer, std::vector<Arrival> arrivals = {});
    void ExpectFileDialog(std::optional<std::filesystem::path> answer, std::vector<Arrival> arrivals = {});
    // Reports every queued event that has not appeared yet, and forgets them.
    void VerifyAllScriptsUsed();

    // What was shown, in order.
    const std::vector<MessageBoxRequest>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }
    const std::vector<unsigned>& DialogsShown() const { return m_dialogsShown; }
    // The frames that exist now, oldest first.
    const std::vector<HeadlessFrameWindow*>& Frames() const { return m_frames; }
    bool IsWaitCursorShown() const { return m_waitCursorDepth > 0; }
    // How often a field refused a character typed into it, each time with the desktop's beep.
    int Beeps() const { return m_beeps; }
    bool QuitRequested() const { return m_quitRequested; }
    int ExitCode() const { return m_exitCode; }

    std::unique_ptr<FrameWindow> CreateFrameWindow(const FrameTemplate& frame, FrameWindowEvents& events) override;
    int RunModalDialog(const DialogTemplate& dialog, DialogEvents& events) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    std::optional<std::filesystem::path> ChooseFile(const FileDialogRequest& request) override;
    void SetWaitCursor(bool waiting) override;
    void Post(std::function<void()> task) override;
    // Returns at once: tests act as the user between calls instead of a loop.
    int RunMessageLoop() override;
    void Quit(int exitCode) override;

    // The message loop's turn: runs the posted tasks in order, and those they post, one after
    // the other; never inside a modal window or another turn.
    void RunPostedTasks();
    // How many posted tasks have run.
    std::size_t PostedTasksRun() const { return m_postedTasksRun; }
    // Hands what arrives to the newest frame, as the desktop does while a modal window waits:
    // each request or drop, then the idle update.
    void Deliver(const std::vector<Arrival>& arrivals);

    // Called by frames as they go.
    void ForgetFrame(HeadlessFrameWindow* frame);
    void ReportProblem(const std::string& problem) const;
    void Beep();

private:
    // Counts a modal window for as long as it lives; one shown under the busy cursor is a problem.
    class ModalWindow {
    public:
        ModalWindow(HeadlessWindowSystem& system, const std::string& appeared);
        ~ModalWindow();
        ModalWindow(const ModalWindow&) = delete;
        ModalWindow& operator=(const ModalWindow&) = delete;

    private:
        HeadlessWindowSystem& m_system;
    };

    ProblemReporter m_reportProblem;
    std::deque<ScriptedEvent> m_script;
    std::vector<MessageBoxRequest> m_messageBoxes;
    std::vector<FileDialogRequest> m_fileDialogs;
    std::vector<unsigned> m_dialogsShown;
    std::vector<HeadlessFrameWindow*> m_frames;
    int m_waitCursorDepth = 0;
    int m_beeps = 0;
    int m_modalDepth = 0;
    int m_userActionDepth = 0;
    bool m_runningPostedTasks = false;
    std::size_t m_postedTasksRun = 0;
    std::mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted;
    bool m_quitRequested = false;
    int m_exitCode = 0;
};

}  // namespace sekreta::platform
