#include "framework/SafeSave.h"

#include "framework/CFileException.h"

#include <cerrno>

namespace sekreta {

void SafeSave(platform::FileSystem& fileSystem, const std::filesystem::path& path,
    const std::function<void(CFile& file)>& write, SavedPermissions permissions)
{
    const std::filesystem::path target = fileSystem.ResolveLinks(path);
    // Renaming over a file succeeds where writing it would not: the user's read-only mark and
    // the kind of the file are checked here instead.
    const bool replacing = fileSystem.Exists(target);
    if (replacing && (!fileSystem.IsRegularFile(target) || fileSystem.IsReadOnly(target)))
        throw CFileException(CFileException::accessDenied, EACCES, path.string());

    std::filesystem::path temporary;
    std::unique_ptr<platform::File> handle;
    if (const std::error_code error = fileSystem.CreateTemporaryBeside(target, temporary, handle))
        throw CFileException::FromError(error, path.string());

    // Messages name the file the user chose, never the temporary one.
    CFile file(std::move(handle), path);
    try {
        write(file);
        // Before the flush, so that the new owner and mode reach the disk with the bytes.
        if (replacing && permissions == SavedPermissions::keepOld) {
            if (const std::error_code error = fileSystem.CopyOwnerAndMode(target, temporary))
                throw CFileException::FromError(error, path.string());
        }
        file.Flush();
        file.Close();
        if (const std::error_code error = fileSystem.Replace(temporary, target))
            throw CFileException::FromError(error, path.string());
    } catch (...) {
        file.Abort();
        fileSystem.Remove(temporary);
        throw;
    }
}

}  // namespace sekreta
