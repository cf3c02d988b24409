#pragma once

#include "platform/Clipboard.h"

namespace sekreta::platform::qt {

// The desktop's clipboard, as plain text. Bytes that are not UTF-8 go there as the
// Windows-1252 text they were written as, so that what is pasted is what the list shows.
class QtClipboard final : public Clipboard {
public:
    bool SetText(std::string_view text) override;
};

}  // namespace sekreta::platform::qt
