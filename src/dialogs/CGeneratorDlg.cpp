#include "dialogs/CGeneratorDlg.h"

#include "framework/CDataExchange.h"
#include "framework/CWinApp.h"
#include "generator/PasswordGenerator.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta {

namespace {

// Randomness is the platform's, cryptographic unless a test injects its own.
PasswordGenerator ProgramGenerator()
{
    return PasswordGenerator(AfxGetApp()->GetPlatform().random);
}

}  // namespace

CGeneratorDlg::CGeneratorDlg()
    : CDialog(IDD_GENERATOR)
{
}

std::string CGeneratorDlg::Generate()
{
    GeneratorSettings settings {m_nLength, m_bLower != 0, m_bUpper != 0, m_bDigits != 0};
    std::string password = ProgramGenerator().Generate(settings);
    if (settings.lower && m_bLower == 0)
        m_bLower = 1;
    return password;
}

unsigned CGeneratorDlg::Draw(unsigned n)
{
    return ProgramGenerator().Draw(n);
}

void CGeneratorDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, IDC_LENGTH, m_nLength);
    DDV_MinMaxUInt(dx, m_nLength, PasswordGenerator::kMinLength, PasswordGenerator::kMaxLength);
    DDX_Check(dx, IDC_LOWER, m_bLower);
    DDX_Check(dx, IDC_DIGITS, m_bDigits);
    DDX_Check(dx, IDC_UPPER, m_bUpper);
}

}  // namespace sekreta
