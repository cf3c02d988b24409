#include "dialogs/CAboutDlg.h"

#include "framework/CDataExchange.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta {

CAboutDlg::CAboutDlg()
    : CDialog(IDD_ABOUTBOX)
{
}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_CONTACT, m_strContact);
    DDX_Text(dx, IDC_VERSION, m_strVersion);
}

}  // namespace sekreta
