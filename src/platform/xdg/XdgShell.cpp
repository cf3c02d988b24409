#include "platform/xdg/XdgShell.h"

#include "platform/xdg/ProcessLauncher.h"

#include <mutex>
#include <utility>

namespace sekreta::platform {

namespace {

constexpr const char* kOpener = "xdg-open";
// xdg-open refuses what it cannot hand on within moments; a browser it starts runs far longer.
constexpr std::chrono::milliseconds kOpenerGrace(3000);

}  // namespace

struct XdgShell::Messenger {
    std::mutex mutex;
    WindowSystem* windows;
};

XdgShell::XdgShell(std::optional<std::filesystem::path> guide, WindowSystem& windows)
    : m_guide(std::move(guide))
    , m_messenger(std::make_shared<Messenger>())
{
    m_messenger->windows = &windows;
}

XdgShell::~XdgShell()
{
    const std::lock_guard lock(m_messenger->mutex);
    m_messenger->windows = nullptr;
}

void XdgShell::OpenUrl(std::string_view url, FailureHandler failed)
{
    Open(std::string(url), std::move(failed));
}

void XdgShell::ShowHelp(FailureHandler failed)
{
    if (!m_guide) {
        m_messenger->windows->Post(std::move(failed));
        return;
    }
    Open(m_guide->string(), std::move(failed));
}

void XdgShell::Open(std::string target, FailureHandler failed)
{
    LaunchWatched({kOpener, std::move(target)}, kOpenerGrace,
        [messenger = m_messenger, failed = std::move(failed)](bool succeeded) {
            const std::lock_guard lock(messenger->mutex);
            if (!succeeded && messenger->windows)
                messenger->windows->Post(failed);
        });
}

}  // namespace sekreta::platform
