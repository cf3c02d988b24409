#pragma once

#include "framework/CCmdTarget.h"
#include "platform/DialogWindow.h"
#include "platform/WindowSystem.h"

#include <string>
#include <string_view>

namespace sekreta {

class CDataExchange;

// A modal dialog built from a numbered template. Its members go to the controls when it opens
// and come back, checked, when OK is pressed (DoDataExchange); a wrong entry keeps it open.
class CDialog : public CCmdTarget {
public:
    explicit CDialog(unsigned templateId);
    ~CDialog() override = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until it closes; returns IDOK, IDCANCEL, or -1 when it could not be shown.
    virtual int DoModal();
    unsigned GetTemplateId() const { return m_templateId; }

    // Copies the members to the controls, or back with their checks; false when a check failed
    // (it has told the user and put the focus on the field at fault).
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);
    // Whether the dialog is open now: from its initialisation until DoModal returns.
    bool IsRunning() const { return m_window != nullptr; }
    // The dialog while it runs; only valid while IsRunning.
    platform::DialogWindow& Window() const { return *m_window; }
    // A message box in front of this dialog; no icon unless one is named.
    int MessageBox(std::string_view text, platform::MessageButtons buttons = platform::MessageButtons::Ok,
        platform::MessageIcon icon = platform::MessageIcon::None);

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);

private:
    // Receives the dialog's events from the window system.
    class Events final : public platform::DialogEvents {
    public:
        explicit Events(CDialog& dialog)
            : m_dialog(dialog)
        {
        }
        void OnInitDialog(platform::DialogWindow& window) override;
        void OnCommand(platform::DialogWindow& window, int controlId) override;

    private:
        CDialog& m_dialog;
    };

    unsigned m_templateId;
    platform::DialogWindow* m_window = nullptr;
};

}  // namespace sekreta
