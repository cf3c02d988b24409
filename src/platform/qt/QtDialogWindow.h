#pragma once

#include "platform/DialogWindow.h"
#include "platform/Resources.h"
#include "platform/qt/DialogUnits.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

namespace sekreta::platform::qt {

// A modal dialog drawn from its template alone: each control of the template's kind, at its
// position and size in dialog units converted with the dialog font, in the template's order
// for Tab, with its mnemonic and the default button. Buttons, Enter, Esc and the close box
// reach the dialog's events; nothing closes the dialog but EndDialog.
// A text the program put into a field comes back byte for byte unless the user edited it,
// whatever it holds and however long it is, even when its bytes are not UTF-8 and were shown
// as Windows-1252. A field that keeps to its width takes as many characters as its template
// says, for typing and pasting alike.
class QtDialogWindow final : public DialogWindow {
public:
    QtDialogWindow(const DialogTemplate& dialog, DialogEvents& events, QWidget* parent);
    ~QtDialogWindow();
    QtDialogWindow(const QtDialogWindow&) = delete;
    QtDialogWindow& operator=(const QtDialogWindow&) = delete;

    // Shows the dialog and returns the result given to EndDialog.
    int Run();
    QDialog& Widget() const;
    const DialogUnits& Units() const { return m_units; }

    std::string GetControlText(int id) const override;
    void SetControlText(int id, std::string_view text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int checked) override;
    void SetFocus(int id) override;
    void SelectAllText(int id) override;
    void EndDialog(int result) override;

private:
    class Dialog;
    struct Control {
        const ControlTemplate* source;
        QWidget* widget;
        // What the program put in, and how it was shown.
        std::string bytes;
        QString shown;
        // Whether the user changed a single-line field's text since the program put it in.
        bool edited = false;
    };

    void AddControl(const ControlTemplate& control, std::size_t index);
    // The control that a mnemonic on the control at `index` moves the focus to: the next one
    // in template order that takes the focus.
    QWidget* MnemonicTarget(std::size_t index) const;
    const Control* Find(int id) const;
    Control* Find(int id);
    void ShowText(Control& control);

    const DialogTemplate& m_template;
    DialogEvents& m_events;
    std::unique_ptr<Dialog> m_dialog;
    DialogUnits m_units;
    std::vector<Control> m_controls;
    std::optional<int> m_result;
};

}  // namespace sekreta::platform::qt
