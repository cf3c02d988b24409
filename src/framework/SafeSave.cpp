#include "framework/SafeSave.h"

#include "framework/CFileException.h"

#include <cerrno>
#include <optional>

namespace sekreta {

std::unique_ptr<platform::FileLock> LockForWriting(platform::FileSystem& fileSystem, const std::filesystem::path& path)
{
    std::unique_ptr<platform::FileLock> lock;
    if (const std::error_code error = fileSystem.LockForWriting(path, lock))
        throw CFileException::FromError(error, path.string());
    return lock;
}

platform::FileIdentity SafeSave(platform::FileSystem& fileSystem, const std::filesystem::path& path,
    const std::function<void(CFile& file)>& write, SavedPermissions permissions)
{
    const std::unique_ptr<platform::FileLock> lock = LockForWriting(fileSystem, path);
    return SafeSave(fileSystem, path, write, permissions, *lock);
}

platform::FileIdentity SafeSave(platform::FileSystem& fileSystem, const std::filesystem::path& path,
    const std::function<void(CFile& file)>& write, SavedPermissions permissions, const platform::FileLock& heldLock)
{
    const std::filesystem::path target = fileSystem.ResolveLinks(path);
    // Renaming over a file succeeds where writing it would not: the user's read-only mark and
    // the kind of the file are checked here instead.
    const bool replacing = fileSystem.Exists(target);
    if (replacing && (!fileSystem.IsRegularFile(target) || fileSystem.IsReadOnly(target)))
        throw CFileException(CFileException::accessDenied, EACCES, path.string());

    // Under the lock no other save of this file is at work: its temporary files that are still
    // there were left by saves that were killed. Failing to remove them loses nothing.
    if (heldLock.IsHeld())
        fileSystem.RemoveLeftOverTemporaries(target);

    std::optional<platform::FileOwnership> kept;
    if (replacing && permissions == SavedPermissions::keepOld) {
        platform::FileOwnership ownership;
        if (const std::error_code error = fileSystem.GetOwnership(target, ownership))
            throw CFileException::FromError(error, path.string());
        kept = ownership;
    }

    std::filesystem::path temporary;
    std::unique_ptr<platform::File> handle;
    if (const std::error_code error = fileSystem.CreateTemporaryBeside(target, temporary, handle))
        throw CFileException::FromError(error, path.string());

    // Messages name the file the user chose, never the temporary one.
    CFile file(std::move(handle), path);
    platform::FileIdentity written;
    std::unique_ptr<platform::FileLock> newFileLock;
    try {
        write(file);
        // The owner and group before the flush, so that they reach the disk with the bytes; of
        // the mode only the owner's bits, so that a temporary file a crash leaves behind shows
        // nobody else anything. The rest of the mode follows once the file is in its place.
        if (kept) {
            const platform::FileOwnership ownersAlone {kept->owner, kept->group, kept->mode & 0700};
            if (const std::error_code error = fileSystem.SetOwnership(temporary, ownersAlone))
                throw CFileException::FromError(error, path.string());
        }
        file.Flush();
        written = file.GetIdentity();
        file.Close();
        // The new file is locked before it takes the old one's place: a writer that finds it
        // there waits until its mode is given back.
        if (const std::error_code error = fileSystem.LockForWriting(temporary, newFileLock))
            throw CFileException::FromError(error, path.string());
        if (const std::error_code error = fileSystem.Replace(temporary, target))
            throw CFileException::FromError(error, path.string());
    } catch (...) {
        file.Abort();
        fileSystem.Remove(temporary);
        throw;
    }
    // The new file is in place. A mode that cannot be given back leaves it readable by its owner
    // alone, which loses nothing, so the save stands.
    if (kept)
        fileSystem.SetOwnership(target, *kept);
    return written;
}

}  // namespace sekreta
