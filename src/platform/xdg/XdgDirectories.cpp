#include "platform/xdg/XdgDirectories.h"

#include <cstdlib>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

namespace sekreta::platform {

namespace {

std::optional<std::filesystem::path> AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || value[0] != '/')
        return std::nullopt;
    return std::filesystem::path(value);
}

std::filesystem::path HomeFolder()
{
    if (std::optional<std::filesystem::path> home = AbsoluteVariable("HOME"))
        return *home;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir)
        return result->pw_dir;
    return "/";
}

}  // namespace

XdgDirectories XdgDirectories::FromEnvironment()
{
    XdgDirectories directories;
    directories.dataHome = AbsoluteVariable("XDG_DATA_HOME").value_or(HomeFolder() / ".local" / "share");
    if (const char* dirs = std::getenv("XDG_DATA_DIRS")) {
        std::string_view list = dirs;
        while (!list.empty()) {
            const std::size_t colon = list.find(':');
            const std::string_view entry = list.substr(0, colon);
            if (entry.starts_with('/'))
                directories.dataDirs.emplace_back(entry);
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        }
    }
    if (directories.dataDirs.empty())
        directories.dataDirs = {"/usr/local/share", "/usr/share"};
    directories.runtimeDir = AbsoluteVariable("XDG_RUNTIME_DIR");
    return directories;
}

}  // namespace sekreta::platform
