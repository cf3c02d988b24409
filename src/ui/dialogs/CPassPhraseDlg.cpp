#include "ui/dialogs/CPassPhraseDlg.h"

#include "framework/CDataExchange.h"
#include "framework/TextEncoding.h"
#include "resources/ResourceIds.h"

namespace sekreta {

namespace {

constexpr std::size_t kShortestPassPhrase = 4;

}  // namespace

CPassPhraseDlg::CPassPhraseDlg()
    : CDialog(IDD_PASSPHRASE)
{
}

void CPassPhraseDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_PASSPHRASE, m_strPassPhrase);
}

void CPassPhraseDlg::OnOK()
{
    UpdateData(true);
    if (CharacterCount(m_strPassPhrase) >= kShortestPassPhrase)
        CDialog::OnOK();
    else
        MessageBox("Please enter a pass phrase of at least 4 characters");
}

}  // namespace sekreta
