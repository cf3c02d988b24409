#pragma once

#include "framework/CDialog.h"

#include <string>

namespace sekreta {

// Asks for the pass phrase a document is encrypted under: once, shown as typed, and at least
// four characters long.
class CPassPhraseDlg : public CDialog {
public:
    CPassPhraseDlg();
    // Wipes the pass phrase.
    ~CPassPhraseDlg() override;

    // Exactly as typed: nothing is trimmed.
    std::string m_strPassPhrase;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
};

}  // namespace sekreta
