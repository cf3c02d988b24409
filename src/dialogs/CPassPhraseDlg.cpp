#include "dialogs/CPassPhraseDlg.h"

#include "framework/CDataExchange.h"
#include "platform/SecureZero.h"
#include "platform/TextEncoding.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta {

namespace {

constexpr std::size_t kShortestPassPhrase = 4;

}  // namespace

CPassPhraseDlg::CPassPhraseDlg()
    : CDialog(IDD_PASSPHRASE)
{
}

CPassPhraseDlg::~CPassPhraseDlg()
{
    platform::SecureClear(m_strPassPhrase);
}

void CPassPhraseDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_PASSPHRASE, m_strPassPhrase);
}

void CPassPhraseDlg::OnOK()
{
    UpdateData(true);
    if (platform::CharacterCount(m_strPassPhrase) >= kShortestPassPhrase) {
        CDialog::OnOK();
        return;
    }
    MessageBox("Please enter a pass phrase of at least 4 characters");
    // The user clicked OK to get here; the phrase is still to be finished in its field.
    Window().SetFocus(IDC_PASSPHRASE);
}

}  // namespace sekreta
