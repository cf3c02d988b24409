#pragma once

#include "platform/WindowSystem.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sekreta::platform {

// Something that reaches the main window from outside while a dialog, message box or file
// dialog waits for the user: a second start's request, or files dropped on the window.
struct Arrival {
    std::variant<std::string, std::vector<std::filesystem::path>> what;
    // Whether the program is expected to take a request (false: refuse it).
    bool taken = true;

    static Arrival Request(std::string request, bool taken = true);
    static Arrival Drop(std::vector<std::filesystem::path> files);
};

// What the user does in one modal dialog, step by step, and what the test checks on the way.
class DialogScript {
public:
    struct SetTextStep {
        int id;
        std::string text;
    };
    struct SetCheckStep {
        int id;
        int checked;
    };
    struct PressStep {
        int buttonId;
    };
    struct TabStep { };
    struct ClickAfterTextStep {
        int id;
    };
    struct TypeStep {
        std::string text;
    };
    struct EnterStep { };
    struct ExpectTextStep {
        int id;
        std::string text;
    };
    struct ExpectCheckStep {
        int id;
        int checked;
    };
    struct ExpectFocusStep {
        int id;
        bool wholeTextSelected;
    };
    struct ArrivalStep {
        Arrival arrival;
    };
    using Step = std::variant<SetTextStep, SetCheckStep, PressStep, TabStep, ClickAfterTextStep, TypeStep, EnterStep,
        ExpectTextStep, ExpectCheckStep, ExpectFocusStep, ArrivalStep>;

    explicit DialogScript(unsigned templateId)
        : m_templateId(templateId)
    {
    }

    // Types over the whole text of an edit, which takes the focus, as Type does.
    DialogScript& SetText(int id, std::string text);
    // Clicks a check box until it shows `checked`; it takes the focus.
    DialogScript& SetCheck(int id, int checked);
    // Clicks a button, which takes the focus: IDOK, IDCANCEL (also Esc, the close box) or
    // another. OK and Cancel are pressed even where the dialog shows no such button.
    DialogScript& Press(int buttonId);
    // Moves the focus to the next control that takes it, in template order; an edit it lands
    // on has its whole text selected.
    DialogScript& Tab();
    // Clicks into an edit after its last character: it takes the focus with nothing selected.
    DialogScript& ClickAfterText(int id);
    // Types into the edit that has the focus: over its text when all of it is selected, else
    // after it. A text the user edits is taken as it shows, so bytes that are not UTF-8 become
    // their Windows-1252 characters. Characters beyond what the field takes are refused, each
    // with a beep.
    DialogScript& Type(std::string text);
    // The Enter key: a line break in a multi-line edit that wants it, a click on a focused
    // push button, else the default button.
    DialogScript& PressEnter();
    // Checks, when the script gets there, what a control shows.
    DialogScript& ExpectText(int id, std::string text);
    DialogScript& ExpectCheck(int id, int checked);
    DialogScript& ExpectFocus(int id, bool wholeTextSelected = false);
    // While the dialog is open, a request or a drop reaches the main window, and the window
    // system goes idle after it.
    DialogScript& Arrive(Arrival arrival);

    unsigned TemplateId() const { return m_templateId; }
    const std::vector<Step>& Steps() const { return m_steps; }

private:
    unsigned m_templateId;
    std::vector<Step> m_steps;
};

// Answers to message boxes and file dialogs, queued with the dialog scripts in the order the
// test expects them to appear. What arrives while one is open comes before the answer.
struct MessageBoxAnswer {
    int answer;
    std::optional<std::string> expectedText;  // checked when the box appears
    std::vector<Arrival> arrivals;
};

struct FileDialogAnswer {
    std::optional<std::filesystem::path> path;  // nothing: the user cancels
    std::vector<Arrival> arrivals;
};

using ScriptedEvent = std::variant<DialogScript, MessageBoxAnswer, FileDialogAnswer>;

}  // namespace sekreta::platform
