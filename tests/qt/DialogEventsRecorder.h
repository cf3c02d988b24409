#pragma once

#include "platform/DialogWindow.h"
#include "platform/Resources.h"

#include <functional>
#include <vector>

namespace sekreta::test {

// Dialog events as a test wants them: every command recorded; OK and Cancel end the dialog
// unless the test says otherwise.
class DialogEventsRecorder final : public platform::DialogEvents {
public:
    void OnInitDialog(platform::DialogWindow& dialog) override
    {
        if (onInit)
            onInit(dialog);
    }
    void OnCommand(platform::DialogWindow& dialog, int controlId) override
    {
        commands.push_back(controlId);
        if (onCommand) {
            onCommand(dialog, controlId);
            return;
        }
        if (controlId == platform::IDOK || controlId == platform::IDCANCEL)
            dialog.EndDialog(controlId);
    }

    std::vector<int> commands;
    std::function<void(platform::DialogWindow&)> onInit;
    std::function<void(platform::DialogWindow&, int)> onCommand;
};

}  // namespace sekreta::test
