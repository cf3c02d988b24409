#pragma once

#include "platform/WindowSystem.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace sekreta::platform {

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
    using Step = std::variant<SetTextStep, SetCheckStep, PressStep, ExpectTextStep, ExpectCheckStep, ExpectFocusStep>;

    explicit DialogScript(unsigned templateId)
        : m_templateId(templateId)
    {
    }

    // Replaces the control's text, as typing over it would.
    DialogScript& SetText(int id, std::string text);
    DialogScript& SetCheck(int id, int checked);
    // Presses a button: IDOK (also Enter), IDCANCEL (also Esc, the close box) or another.
    DialogScript& Press(int buttonId);
    // Checks, when the script gets there, what a control shows.
    DialogScript& ExpectText(int id, std::string text);
    DialogScript& ExpectCheck(int id, int checked);
    DialogScript& ExpectFocus(int id, bool wholeTextSelected = false);

    unsigned TemplateId() const { return m_templateId; }
    const std::vector<Step>& Steps() const { return m_steps; }

private:
    unsigned m_templateId;
    std::vector<Step> m_steps;
};

// Answers to message boxes and file dialogs, queued with the dialog scripts in the order the
// test expects them to appear.
struct MessageBoxAnswer {
    int answer;
    std::optional<std::string> expectedText;  // checked when the box appears
};

struct FileDialogAnswer {
    std::optional<std::filesystem::path> path;  // nothing: the user cancels
};

using ScriptedEvent = std::variant<DialogScript, MessageBoxAnswer, FileDialogAnswer>;

}  // namespace sekreta::platform
