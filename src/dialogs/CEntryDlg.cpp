#include "dialogs/CEntryDlg.h"

#include "dialogs/CGeneratorDlg.h"
#include "framework/CDataExchange.h"
#include "platform/SecureZero.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta {

CEntryDlg::CEntryDlg()
    : CDialog(IDD_ENTRY)
{
}

CEntryDlg::~CEntryDlg()
{
    for (std::string* text : {&m_strAccount, &m_strPassword, &m_strUser, &m_strUrl, &m_strNotes})
        platform::SecureClear(*text);
}

const CommandMap& CEntryDlg::ClassCommandMap()
{
    static const CommandMap map {&CDialog::ClassCommandMap(),
        {
            MapCommand(IDC_GENERATE_PASSWORD, &CEntryDlg::OnPassword),
        }};
    return map;
}

const CommandMap& CEntryDlg::GetCommandMap() const
{
    return ClassCommandMap();
}

void CEntryDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_PASSWORD, m_editPassword);
    DDX_Text(dx, IDC_ACCOUNT, m_strAccount);
    DDX_Text(dx, IDC_PASSWORD, m_strPassword);
    DDX_Text(dx, IDC_USER, m_strUser);
    DDX_Text(dx, IDC_URL, m_strUrl);
    DDX_Text(dx, IDC_NOTES, m_strNotes);
}

void CEntryDlg::OnPassword()
{
    CGeneratorDlg generator;
    generator.m_nLength = 8;
    generator.m_bLower = 1;
    if (generator.DoModal() == platform::IDOK)
        m_editPassword.SetWindowText(generator.Generate());
}

}  // namespace sekreta
