#pragma once

#include <string_view>

namespace sekreta::platform {

// The system clipboard, as plain text.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with the text's bytes; false when it could not.
    virtual bool SetText(std::string_view text) = 0;
    // The same for a password: the text is offered as SetText offers it, and marked as a secret
    // that clipboard managers keep out of their history.
    virtual bool SetSecretText(std::string_view text) = 0;
};

}  // namespace sekreta::platform
