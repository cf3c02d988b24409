#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace sekreta::platform {

// The freedesktop base folders this program uses, as the environment names them.
struct XdgDirectories {
    // $XDG_DATA_HOME, or ~/.local/share.
    std::filesystem::path dataHome;
    // $XDG_DATA_DIRS in order, or /usr/local/share and /usr/share.
    std::vector<std::filesystem::path> dataDirs;
    // $XDG_RUNTIME_DIR; nothing when it is not set.
    std::optional<std::filesystem::path> runtimeDir;

    // Read from the environment. A variable that is unset, empty or not an absolute path is
    // taken as unset, and so is each relative entry of $XDG_DATA_DIRS.
    static XdgDirectories FromEnvironment();
};

}  // namespace sekreta::platform
