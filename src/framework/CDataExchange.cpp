#include "framework/CDataExchange.h"

#include "framework/CDialog.h"
#include "framework/CEdit.h"
#include "framework/CException.h"
#include "framework/StringTable.h"
#include "framework/UnsignedText.h"

#include <algorithm>
#include <limits>

namespace sekreta {

void CDataExchange::Fail()
{
    if (m_idLastControl != 0) {
        m_pDlgWnd->Window().SetFocus(m_idLastControl);
        m_pDlgWnd->Window().SelectAllText(m_idLastControl);
    }
    throw CUserException();
}

void DDX_Text(CDataExchange* dx, int id, std::string& value)
{
    dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = dx->m_pDlgWnd->Window().GetControlText(id);
    else
        dx->m_pDlgWnd->Window().SetControlText(id, value);
}

void DDX_Text(CDataExchange* dx, int id, std::uint32_t& value)
{
    dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        dx->m_pDlgWnd->Window().SetControlText(id, std::to_string(value));
        return;
    }
    const std::optional<std::uint64_t> number = ParseUnsigned(dx->m_pDlgWnd->Window().GetControlText(id));
    if (!number) {
        dx->m_pDlgWnd->MessageBox(
            StringTable::Load(IDP_PARSE_UINT), platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
        dx->Fail();
    }
    value = static_cast<std::uint32_t>(std::min<std::uint64_t>(*number, std::numeric_limits<std::uint32_t>::max()));
}

void DDV_MinMaxUInt(CDataExchange* dx, std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum)
{
    if (!dx->m_bSaveAndValidate || (value >= minimum && value <= maximum))
        return;
    dx->m_pDlgWnd->MessageBox(
        StringTable::Format(IDP_PARSE_INT_RANGE, {std::to_string(minimum), std::to_string(maximum)}),
        platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    dx->Fail();
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    if (dx->m_bSaveAndValidate)
        value = dx->m_pDlgWnd->Window().GetCheck(id);
    else
        dx->m_pDlgWnd->Window().SetCheck(id, value);
}

void DDX_Control(CDataExchange* dx, int id, CEdit& control)
{
    control.Attach(*dx->m_pDlgWnd, id);
}

}  // namespace sekreta
