#pragma once

#include "platform/Clipboard.h"

namespace sekreta::platform::qt {

// The desktop's clipboard, as plain text. Bytes that are not UTF-8 go there as the
// Windows-1252 text they were written as, so that what is pasted is what the list shows. A secret
// also carries "x-kde-passwordManagerHint" with the value "secret", which tells clipboard
// managers (KDE's, and those that follow it) to keep it out of their history.
class QtClipboard final : public Clipboard {
public:
    bool SetText(std::string_view text) override;
    bool SetSecretText(std::string_view text) override;

private:
    static bool Set(std::string_view text, bool secret);
};

}  // namespace sekreta::platform::qt
