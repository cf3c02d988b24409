#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/PosixFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sekreta::platform {

namespace {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

// After a rename the folder's entry must reach the disk too, or a crash can bring back the old file.
std::error_code SyncFolder(const std::filesystem::path& folder)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    std::error_code error;
    if (::fsync(descriptor) != 0 && errno != EINVAL)
        error = LastError();
    ::close(descriptor);
    return error;
}

}  // namespace

std::error_code PosixFileSystem::OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file)
{
    // Linux has no mandatory locks; other writers cannot tear the file anyway, because every
    // save replaces it whole by a rename.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    struct stat status { };
    if (::fstat(descriptor, &status) != 0) {
        const std::error_code error = LastError();
        ::close(descriptor);
        return error;
    }
    if (S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        return {EISDIR, std::generic_category()};
    }
    file = std::make_unique<PosixFile>(descriptor);
    return {};
}

std::error_code PosixFileSystem::CreateTemporaryBeside(
    const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file)
{
    // A hidden name beside the target; mkostemp replaces the six X.
    std::string name = ".";
    name += target.filename().string();
    name += ".XXXXXX";
    const std::string pattern = (target.parent_path() / name).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // mkostemp creates the file readable and writable by its owner alone.
    const int descriptor = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    temporary = std::filesystem::path(buffer.data());
    struct stat existing { };
    if (::stat(target.c_str(), &existing) == 0 && ::fchmod(descriptor, existing.st_mode & 07777) != 0) {
        const std::error_code error = LastError();
        ::close(descriptor);
        ::unlink(temporary.c_str());
        return error;
    }
    file = std::make_unique<PosixFile>(descriptor);
    return {};
}

std::error_code PosixFileSystem::Replace(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        return LastError();
    return SyncFolder(to.parent_path());
}

std::error_code PosixFileSystem::Remove(const std::filesystem::path& path)
{
    if (::unlink(path.c_str()) != 0)
        return LastError();
    return {};
}

bool PosixFileSystem::Exists(const std::filesystem::path& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0;
}

bool PosixFileSystem::IsReadOnly(const std::filesystem::path& path)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return false;
    // The write bits count even for root, who may write anything: they are what the user set.
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

std::filesystem::path PosixFileSystem::Absolute(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        absolute = path;
    absolute = absolute.lexically_normal();
    if (!absolute.has_filename() && absolute.has_parent_path() && absolute != absolute.root_path())
        absolute = absolute.parent_path();
    return absolute;
}

std::filesystem::path PosixFileSystem::ResolveLinks(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved;
}

std::filesystem::path PosixFileSystem::CurrentDirectory()
{
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::filesystem::path("/") : current;
}

std::string PosixFileSystem::DisplayName(const std::filesystem::path& path)
{
    return path.filename().string();
}

}  // namespace sekreta::platform
