#pragma once

#include "framework/CDialog.h"
#include "framework/CEdit.h"

#include <string>

namespace sekreta {

// Edits the five texts of one account entry. It knows nothing of records or documents: the
// caller fills the texts, runs it, and on OK takes them back.
class CEntryDlg : public CDialog {
public:
    CEntryDlg();
    // Wipes the five texts.
    ~CEntryDlg() override;

    static const CommandMap& ClassCommandMap();

    CEdit m_editPassword;  // only to replace what the password field shows
    std::string m_strAccount;
    std::string m_strPassword;
    std::string m_strUser;
    std::string m_strUrl;
    std::string m_strNotes;  // lines end in CR LF

protected:
    const CommandMap& GetCommandMap() const override;
    void DoDataExchange(CDataExchange* dx) override;

    // "Pa&ssword": a fresh generator, length 8 and a-z; on OK its password replaces the text
    // the field shows. m_strPassword only takes it when this dialog closes with OK.
    void OnPassword();
};

}  // namespace sekreta
