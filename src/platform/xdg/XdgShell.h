#pragma once

#include "platform/Shell.h"
#include "platform/WindowSystem.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace sekreta::platform {

// Hands addresses and the user guide to the desktop's opener, xdg-open, which picks the
// user's browser. It is started without a shell and not waited for: a thread of its own
// watches its exit status for a few seconds (see LaunchWatched), and a failure reaches the
// user-interface thread through WindowSystem::Post. An opener that still runs then has started
// the browser.
class XdgShell : public Shell {
public:
    // `guide`: the HTML user guide that ShowHelp opens (see FindUserGuide); nothing when the
    // program has none. `windows` carries failures to the user-interface thread; it must
    // outlive this.
    XdgShell(std::optional<std::filesystem::path> guide, WindowSystem& windows);
    // A failure learnt later is no longer told.
    ~XdgShell() override;
    XdgShell(const XdgShell&) = delete;
    XdgShell& operator=(const XdgShell&) = delete;

    // Starts `xdg-open URL`, the address its one argument, untouched.
    void OpenUrl(std::string_view url, FailureHandler failed) override;
    // Starts `xdg-open GUIDE`; fails at once when there is no guide.
    void ShowHelp(FailureHandler failed) override;

private:
    // What the watching threads reach the window system through, for as long as this lives.
    struct Messenger;

    void Open(std::string target, FailureHandler failed);

    std::optional<std::filesystem::path> m_guide;
    std::shared_ptr<Messenger> m_messenger;
};

}  // namespace sekreta::platform
