#pragma once

#include <string>
#include <string_view>

namespace sekreta::platform {

// A modal dialog while it runs; its controls are reached by their ids.
class DialogWindow {
public:
    virtual std::string GetControlText(int id) const = 0;
    virtual void SetControlText(int id, std::string_view text) = 0;
    // 1 when the check box is checked, else 0.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int checked) = 0;
    virtual void SetFocus(int id) = 0;
    // Selects the whole text of an edit control.
    virtual void SelectAllText(int id) = 0;
    // Closes the dialog once the current event returns; RunModalDialog then returns `result`.
    virtual void EndDialog(int result) = 0;

protected:
    ~DialogWindow() = default;
};

// How the framework hears what the user does in a modal dialog.
class DialogEvents {
public:
    // The controls exist and may be filled; focus is on the first control that takes it.
    virtual void OnInitDialog(DialogWindow& dialog) = 0;
    // A button was pressed: OK (also Enter), Cancel (also Esc and the close box), or another.
    virtual void OnCommand(DialogWindow& dialog, int controlId) = 0;

protected:
    ~DialogEvents() = default;
};

}  // namespace sekreta::platform
