#include "framework/CCmdUI.h"

#include "framework/CCmdTarget.h"

namespace sekreta {

void CCmdUI::Enable(bool on)
{
    m_bEnabled = on;
    m_bEnableChanged = true;
    if (m_pItems)
        m_pItems->Enable(m_nIndex, on);
}

void CCmdUI::SetCheck(int check)
{
    if (m_pItems)
        m_pItems->SetCheck(m_nIndex, check != 0);
}

void CCmdUI::SetText(std::string_view text)
{
    if (m_pItems)
        m_pItems->SetText(m_nIndex, text);
}

void CCmdUI::DoUpdate(CCmdTarget& target, bool disableIfNoHandler)
{
    m_bEnableChanged = false;
    target.OnCmdMsg(m_nID, CommandCall::Update, this);
    if (disableIfNoHandler && !m_bEnableChanged)
        Enable(target.OnCmdMsg(m_nID, CommandCall::HasHandler, nullptr));
}

}  // namespace sekreta
