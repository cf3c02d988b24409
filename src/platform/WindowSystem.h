#pragma once

#include "platform/DialogWindow.h"
#include "platform/FrameWindow.h"
#include "platform/Resources.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sekreta::platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Exclamation, Information, Question, Stop };

// What a message box answers when it is closed without a button (Esc, the close box): Cancel
// where it has one, else the safer No, else OK.
inline int DismissalAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return IDOK;
    case MessageButtons::YesNo:
        return IDNO;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return IDCANCEL;
}

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
};

struct FileFilter {
    std::string name;  // "Sekreta Files (*.sek)"
    std::string pattern;  // "*.sek"
};

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::vector<FileFilter> filters;  // the first one is preselected
    std::string defaultExtension;  // appended when a typed name has none, without the dot
    std::filesystem::path initialName;
    // Where the dialog starts when `initialName` names no folder; empty: where the dialog likes.
    std::filesystem::path initialFolder;
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool confirmOverwrite = false;
    bool hideReadOnly = false;
};

// Windows, modal dialogs, message boxes and file dialogs, and the message loop that drives them.
// Every modal call returns when the user has answered; the main window takes no input meanwhile,
// but the loop inside it still delivers the frames' events (requests, drops, idle updates) and
// posted tasks.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual std::unique_ptr<FrameWindow> CreateFrameWindow(const FrameTemplate& frame, FrameWindowEvents& events) = 0;
    // Runs a dialog built from `dialog` until it ends; returns the result given to EndDialog.
    virtual int RunModalDialog(const DialogTemplate& dialog, DialogEvents& events) = 0;
    // Returns the button pressed: IDOK, IDCANCEL, IDYES or IDNO.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> ChooseFile(const FileDialogRequest& request) = 0;
    // Shows the busy cursor over the program's windows, or the arrow again.
    virtual void SetWaitCursor(bool waiting) = 0;
    // Runs `task` on the user-interface thread from the message loop, after the event being
    // handled now; tasks run in the order they were posted. Safe to call from any thread.
    // A modal call's own loop may run it too, so a task that must not run behind a modal
    // window checks for one itself.
    virtual void Post(std::function<void()> task) = 0;

    // Runs until Quit; returns its exit code.
    virtual int RunMessageLoop() = 0;
    virtual void Quit(int exitCode) = 0;
};

}  // namespace sekreta::platform
