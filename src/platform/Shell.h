#pragma once

#include <string_view>

namespace sekreta::platform {

// Hands things to the desktop: web addresses to the user's browser, the user guide to its viewer.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens the address exactly as given, never through a command interpreter; false when no
    // program could be started for it.
    virtual bool OpenUrl(std::string_view url) = 0;
    // Shows the contents of the user guide that was installed with the program; false when no
    // viewer could be started for it.
    virtual bool ShowHelp() = 0;
};

}  // namespace sekreta::platform
