#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sekreta {

class CDialog;
class CEdit;

// One exchange between a dialog's members and its controls, in either direction. A failed
// check tells the user, puts the focus back on the field at fault with its text selected, and
// ends the exchange (the dialog stays open).
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_pDlgWnd(&dialog)
        , m_bSaveAndValidate(saveAndValidate)
    {
    }

    // The edit control the next checks are about.
    void PrepareEditCtrl(int id) { m_idLastControl = id; }
    // Focuses and selects the last prepared field, then ends the exchange with CUserException.
    [[noreturn]] void Fail();

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;

private:
    int m_idLastControl = 0;
};

void DDX_Text(CDataExchange* dx, int id, std::string& value);
// An unsigned decimal number; anything else fails with "Please enter a positive integer.".
void DDX_Text(CDataExchange* dx, int id, std::uint32_t& value);
// Fails with "Please enter an integer between <minimum> and <maximum>." outside the range.
void DDV_MinMaxUInt(CDataExchange* dx, std::uint32_t value, std::uint32_t minimum, std::uint32_t maximum);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Control(CDataExchange* dx, int id, CEdit& control);

}  // namespace sekreta
