#pragma once

#include <functional>
#include <string_view>

namespace sekreta::platform {

// Hands things to the desktop: web addresses to the user's browser, the user guide to its viewer.
// Nobody waits for the desktop's answer: a failure, once known, is told on the user-interface
// thread.
class Shell {
public:
    // Runs on the user-interface thread, from the message loop, when the opening failed.
    using FailureHandler = std::function<void()>;

    virtual ~Shell() = default;
    // Opens the address exactly as given, never through a command interpreter; `failed` runs
    // when no program could be started for it or the one started reported a failure.
    virtual void OpenUrl(std::string_view url, FailureHandler failed) = 0;
    // Shows the contents of the user guide that was installed with the program; `failed` runs
    // when there is none, or when no viewer could be started for it or the one started
    // reported a failure.
    virtual void ShowHelp(FailureHandler failed) = 0;
};

}  // namespace sekreta::platform
