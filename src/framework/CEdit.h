#pragma once

#include <string_view>

namespace sekreta {

class CDialog;

// An edit control of a dialog, attached by its id during the data exchange. It reaches the
// control only while the dialog runs; afterwards it does nothing.
class CEdit {
public:
    void Attach(CDialog& dialog, int id);
    // Replaces the text the control shows; the member it is exchanged with is not touched.
    void SetWindowText(std::string_view text);

private:
    CDialog* m_dialog = nullptr;
    int m_id = 0;
};

}  // namespace sekreta
