#pragma once

#include "framework/CFile.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace sekreta {

// What the permissions of the file that SafeSave writes become. A new file is always readable
// and writable by its owner alone.
enum class SavedPermissions {
    keepOld,  // a replaced file's mode, and its owner and group where the system allows
    ownerOnly,  // readable and writable by the owner alone, whatever the old file allowed
};

// Takes the lock that every writer of the file holds from reading what it changes until the
// file is replaced (FileSystem::LockForWriting). Throws CFileException naming the path: with
// lockViolation and EWOULDBLOCK when another writer held it for longer than the wait.
std::unique_ptr<platform::FileLock> LockForWriting(platform::FileSystem& fileSystem, const std::filesystem::path& path);

// Writes a file so that a failure at any point leaves the old file, or no file, at the path:
// the bytes go to a hidden temporary file in the same folder, readable by the owner alone while
// it is written, which is flushed to the disk and then renamed over the path. A symbolic link
// at the path is kept and its target replaced, or made when it does not exist yet.
// The save holds the writers' lock of the file throughout, and under it first removes the
// temporary files that saves of the same file left behind when they were killed.
// Returns the identity of the file written.
// Throws CFileException with accessDenied, before anything is written, when the path names
// something that is not a regular file (a folder, a pipe, a device) or a read-only file: a
// rename would replace either. Throws CFileException when the lock cannot be had or the file
// system fails, and passes on whatever `write` throws; the temporary file is removed in every case.
platform::FileIdentity SafeSave(platform::FileSystem& fileSystem, const std::filesystem::path& path,
    const std::function<void(CFile& file)>& write, SavedPermissions permissions = SavedPermissions::keepOld);
// The same, under `heldLock`, the caller's own lock of the path, taken by LockForWriting before
// it read what it writes now: a second lock of the same process would wait for the first.
platform::FileIdentity SafeSave(platform::FileSystem& fileSystem, const std::filesystem::path& path,
    const std::function<void(CFile& file)>& write, SavedPermissions permissions, const platform::FileLock& heldLock);

}  // namespace sekreta
