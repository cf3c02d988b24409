#include "framework/CEdit.h"

#include "framework/CDialog.h"

namespace sekreta {

void CEdit::Attach(CDialog& dialog, int id)
{
    m_dialog = &dialog;
    m_id = id;
}

void CEdit::SetWindowText(std::string_view text)
{
    if (m_dialog && m_dialog->IsRunning())
        m_dialog->Window().SetControlText(m_id, text);
}

}  // namespace sekreta
