#pragma once

#include "framework/CFile.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <functional>

namespace sekreta {

// Writes a file so that a failure at any point leaves the old file, or no file, at the path:
// the bytes go to a temporary file in the same folder, which is flushed to the disk and then
// renamed over the path. A symbolic link at the path is kept and its target replaced.
// Throws CFileException when the file system fails, and passes on whatever `write` throws;
// the temporary file is removed in both cases.
void SafeSave(
    platform::FileSystem& fileSystem, const std::filesystem::path& path, const std::function<void(CFile& file)>& write);

}  // namespace sekreta
