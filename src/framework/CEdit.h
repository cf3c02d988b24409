#pragma once

#include "platform/DialogWindow.h"

#include <string_view>

namespace sekreta {

// An edit control of a running dialog, attached by its id during the data exchange.
class CEdit {
public:
    void Attach(platform::DialogWindow& dialog, int id);
    // Replaces the text the control shows; the member it is exchanged with is not touched.
    void SetWindowText(std::string_view text);

private:
    platform::DialogWindow* m_dialog = nullptr;
    int m_id = 0;
};

}  // namespace sekreta
