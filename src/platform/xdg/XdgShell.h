#pragma once

#include "platform/Shell.h"

#include <filesystem>
#include <optional>

namespace sekreta::platform {

// Hands addresses and the user guide to the desktop's opener, xdg-open, which picks the
// user's browser. It is started without a shell and not waited for (see LaunchDetached).
class XdgShell : public Shell {
public:
    // `guide`: the HTML user guide that ShowHelp opens (see FindUserGuide); nothing when the
    // program has none.
    explicit XdgShell(std::optional<std::filesystem::path> guide);

    // Starts `xdg-open URL`, the address its one argument, untouched; false when xdg-open
    // cannot be started.
    bool OpenUrl(std::string_view url) override;
    // Starts `xdg-open GUIDE`; false when there is no guide or xdg-open cannot be started.
    bool ShowHelp() override;

private:
    std::optional<std::filesystem::path> m_guide;
};

}  // namespace sekreta::platform
