#include "framework/CEdit.h"

namespace sekreta {

void CEdit::Attach(platform::DialogWindow& dialog, int id)
{
    m_dialog = &dialog;
    m_id = id;
}

void CEdit::SetWindowText(std::string_view text)
{
    if (m_dialog)
        m_dialog->SetControlText(m_id, text);
}

}  // namespace sekreta
