#pragma once

#include "framework/CDialog.h"

#include <cstdint>
#include <string>

namespace sekreta {

// Asks for the length and the kinds of characters of a pronounceable password; after OK,
// Generate makes one. Callers set the length to 8 and check a-z before running it.
class CGeneratorDlg : public CDialog {
public:
    CGeneratorDlg();

    // Both draw from the random source of the running program (AfxGetApp), which must exist.
    // A new password of m_nLength characters. Turns m_bLower
    // on when neither m_bUpper nor m_bDigits is on. Throws std::out_of_range, drawing nothing,
    // when m_nLength lies outside 4..128, which OK never lets through.
    std::string Generate();
    // A random index from 0 to n - 1.
    unsigned Draw(unsigned n);

    std::uint32_t m_nLength = 0;
    int m_bLower = 0;
    int m_bDigits = 0;
    int m_bUpper = 0;

protected:
    // On OK: the length (a number, then 4 to 128), then a-z, 0-9 and A-Z; the first failure
    // stops the reading.
    void DoDataExchange(CDataExchange* dx) override;
};

}  // namespace sekreta
