#include "framework/CDialog.h"

#include "framework/CDataExchange.h"
#include "framework/CException.h"
#include "framework/CWinApp.h"

namespace sekreta {

CDialog::CDialog(unsigned templateId)
    : m_templateId(templateId)
{
}

int CDialog::DoModal()
{
    CWinApp* app = AfxGetApp();
    const platform::DialogTemplate* dialog = app ? app->GetResources().FindDialog(m_templateId) : nullptr;
    if (!dialog)
        return -1;
    Events events(*this);
    int result = -1;
    {
        const CWinApp::ModalScope modal(*app);
        result = app->GetPlatform().windows.RunModalDialog(*dialog, events);
    }
    m_window = nullptr;
    return result;
}

void CDialog::Events::OnInitDialog(platform::DialogWindow& window)
{
    m_dialog.m_window = &window;
    m_dialog.OnInitDialog();
}

void CDialog::Events::OnCommand(platform::DialogWindow& window, int controlId)
{
    m_dialog.m_window = &window;
    if (controlId == platform::IDOK)
        m_dialog.OnOK();
    else if (controlId == platform::IDCANCEL)
        m_dialog.OnCancel();
    else
        m_dialog.OnCmdMsg(static_cast<unsigned>(controlId), CommandCall::Run, nullptr);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(platform::IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(platform::IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) { }

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return false;
    }
    return true;
}

void CDialog::EndDialog(int result)
{
    if (m_window)
        m_window->EndDialog(result);
}

int CDialog::MessageBox(std::string_view text, platform::MessageButtons buttons, platform::MessageIcon icon)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return platform::IDCANCEL;
    const CWinApp::ModalScope modal(*app);
    return app->GetPlatform().windows.ShowMessageBox({std::string(text), app->m_pszAppName, buttons, icon});
}

}  // namespace sekreta
