#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace sekreta::platform {

// The whole of a regular file of at most `limit` bytes; nothing when it is missing, larger,
// unreadable or no regular file (a pipe or device is never waited on).
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit);

// Puts a file holding `text` with permission bits `mode` in the place of `path`, in one step:
// a temporary file in the same folder, flushed to the disk, renamed over it. Missing folders
// are created, open to the owner alone. False, with nothing changed, when any step fails or when `path` is something
// other than a regular file (a folder, a pipe, a link to one).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text, mode_t mode);

}  // namespace sekreta::platform
