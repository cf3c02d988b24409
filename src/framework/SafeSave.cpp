#include "framework/SafeSave.h"

#include "framework/CFileException.h"

namespace sekreta {

void SafeSave(
    platform::FileSystem& fileSystem, const std::filesystem::path& path, const std::function<void(CFile& file)>& write)
{
    const std::filesystem::path target = fileSystem.ResolveLinks(path);
    std::filesystem::path temporary;
    std::unique_ptr<platform::File> handle;
    if (const std::error_code error = fileSystem.CreateTemporaryBeside(target, temporary, handle))
        throw CFileException::FromError(error, path.string());

    // Messages name the file the user chose, never the temporary one.
    CFile file(std::move(handle), path);
    try {
        write(file);
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
