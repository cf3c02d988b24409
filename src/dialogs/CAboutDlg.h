#pragma once

#include "framework/CDialog.h"

#include <string>

namespace sekreta {

// Tells what the program is and how to reach its maker; closes with OK.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    std::string m_strContact;  // e-mail and web address
    std::string m_strVersion;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};

}  // namespace sekreta
