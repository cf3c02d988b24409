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

// A document is only ever a regular file.
std::error_code NotRegularError(const struct stat& status)
{
    if (S_ISREG(status.st_mode))
        return {};
    return {S_ISDIR(status.st_mode) ? EISDIR : EACCES, std::generic_category()};
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
    // Opening a pipe waits for a writer, and opening a device may wait or act on the device;
    // neither is ever a document, so only a regular file is opened at all.
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return LastError();
    if (const std::error_code error = NotRegularError(status))
        return error;
    // Linux has no mandatory locks; other writers cannot tear the file anyway, because every
    // save replaces it whole by a rename. O_NONBLOCK keeps the open from waiting should the
    // path have become a pipe since the check; it is cleared again for reading.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    std::error_code error = ::fstat(descriptor, &status) == 0 ? NotRegularError(status) : LastError();
    if (!error) {
        const int flags = ::fcntl(descriptor, F_GETFL);
        if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0)
            error = LastError();
    }
    if (error) {
        ::close(descriptor);
        return error;
    }
    file = std::make_unique<PosixFile>(descriptor);
    return {};
}

std::error_code PosixFileSystem::CreateTemporaryBeside(
    const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file)
{
    // A hidden name beside the target, so that the rename stays on one file system; mkostemp
    // replaces the six X and creates the file readable and writable by its owner alone, which
    // it stays while the secrets are written into it.
    std::string name = ".";
    name += target.filename().string();
    name += ".XXXXXX";
    const std::string pattern = (target.parent_path() / name).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int descriptor = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    temporary = std::filesystem::path(buffer.data());
    file = std::make_unique<PosixFile>(descriptor);
    return {};
}

std::error_code PosixFileSystem::GetOwnership(const std::filesystem::path& path, FileOwnership& ownership)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return LastError();
    ownership = {status.st_uid, status.st_gid, static_cast<std::uint32_t>(status.st_mode & 07777)};
    return {};
}

std::error_code PosixFileSystem::SetOwnership(const std::filesystem::path& path, const FileOwnership& ownership)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    std::error_code error;
    // Only root may give a file away, and others only to a group they belong to: EPERM then
    // leaves the file this user's, as a new file would be.
    if (::fchown(descriptor, ownership.owner, ownership.group) != 0) {
        if (errno != EPERM || (::fchown(descriptor, static_cast<uid_t>(-1), ownership.group) != 0 && errno != EPERM))
            error = LastError();
    }
    // The mode comes last: a change of owner clears the set-user-ID and set-group-ID bits.
    if (!error && ::fchmod(descriptor, ownership.mode & 07777) != 0)
        error = LastError();
    ::close(descriptor);
    return error;
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

bool PosixFileSystem::IsRegularFile(const std::filesystem::path& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
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
