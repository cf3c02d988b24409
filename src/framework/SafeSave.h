#pragma once

#include "framework/CFile.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <functional>

namespace sekreta {

// What the permissions of the file that SafeSave writes become. A new file is always readable
// and writable by its owner alone.
enum class SavedPermissions {
    keepOld,  // a replaced file's mode, and its owner and group where the system allows
    ownerOnly,  // readable and writable by the owner alone, whatever the old file allowed
};

// Writes a file so that a failure at any point leaves the old file, or no file, at the path:
// the bytes go to a hidden temporary file in the same folder, readable by the owner alone while
// it is written, which is flushed to the disk and then renamed over the path. A symbolic link
// at the path is kept and its target replaced.
// Throws CFileException with accessDenied, before anything is written, when the path names
// something that is not a regular file (a folder, a pipe, a device) or a read-only file: a
// rename would replace either. Throws CFileException when the file system fails, and passes on
// whatever `write` throws; the temporary file is removed in every case.
void SafeSave(platform::FileSystem& fileSystem, const std::filesystem::path& path,
    const std::function<void(CFile& file)>& write, SavedPermissions permissions = SavedPermissions::keepOld);

}  // namespace sekreta
