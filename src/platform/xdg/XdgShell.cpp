#include "platform/xdg/XdgShell.h"

#include "platform/xdg/ProcessLauncher.h"

#include <utility>

namespace sekreta::platform {

namespace {

constexpr const char* kOpener = "xdg-open";

}  // namespace

XdgShell::XdgShell(std::optional<std::filesystem::path> guide)
    : m_guide(std::move(guide))
{
}

bool XdgShell::OpenUrl(std::string_view url)
{
    return LaunchDetached({kOpener, std::string(url)});
}

bool XdgShell::ShowHelp()
{
    return m_guide && LaunchDetached({kOpener, m_guide->string()});
}

}  // namespace sekreta::platform
