#include "platform/posix/PosixFileSystem.h"

#include "platform/posix/PosixFile.h"
#include "platform/posix/PosixFileLock.h"
#include "platform/posix/TemporaryName.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace sekreta::platform {

namespace {

// How long a writer waits for another one to finish, and how often it looks.
constexpr std::chrono::seconds kLockWait {5};
constexpr std::chrono::milliseconds kLockPoll {10};
// As many links as the kernel follows in one path.
constexpr int kMostLinks = 40;

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

std::filesystem::path FolderOf(const std::filesystem::path& path)
{
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// The longest file name the folder takes: less than NAME_MAX on some file systems (eCryptfs).
std::size_t LongestName(const std::filesystem::path& folder)
{
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

// Link by link, so that a link to a file not made yet leads to where it will be.
std::filesystem::path FollowLinks(const std::filesystem::path& path)
{
    std::filesystem::path resolved = path;
    for (int links = 0; links < kMostLinks; ++links) {
        std::error_code error;
        if (!std::filesystem::is_symlink(resolved, error))
            return resolved;
        const std::filesystem::path target = std::filesystem::read_symlink(resolved, error);
        if (error)
            return resolved;
        resolved = target.is_absolute() ? target : resolved.parent_path() / target;
    }
    // A loop: the path then fails as the system fails it.
    return path;
}

// One try at the writers' lock of `path`. Sets `lock` when it holds and `busy` when another
// writer holds it; neither when the path led elsewhere by the time the lock was taken.
std::error_code TryLock(const std::filesystem::path& path, std::unique_ptr<FileLock>& lock, bool& busy)
{
    struct stat status { };
    const bool exists = ::stat(path.c_str(), &status) == 0;
    if (!exists && errno != ENOENT)
        return LastError();
    if (exists) {
        if (const std::error_code error = NotRegularError(status))
            return error;
    }
    // A file not made yet is locked through the folder it will be made in.
    const std::filesystem::path locked = exists ? path : FolderOf(FollowLinks(path));
    const int descriptor
        = ::open(locked.c_str(), (exists ? O_NONBLOCK | O_NOCTTY : O_DIRECTORY) | O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return exists && errno == ENOENT ? std::error_code() : LastError();
    const bool flocked = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    // Failing for another reason than another writer, flock has met a file system without such
    // locks: the writer goes on without one.
    busy = !flocked && (errno == EWOULDBLOCK || errno == EINTR);
    auto held = std::make_unique<PosixFileLock>(descriptor, flocked);
    // What was opened must be a regular file too: a rename may have put a pipe there since.
    if (exists) {
        if (::fstat(descriptor, &status) != 0)
            return LastError();
        if (const std::error_code error = NotRegularError(status))
            return error;
    }
    if (!flocked) {
        if (!busy)
            lock = std::move(held);
        return {};
    }
    // A rename may have put another file where the locked one was, or made the missing one:
    // the lock counts only while the path still leads to what it holds.
    struct stat now { };
    const bool existsNow = ::stat(path.c_str(), &now) == 0;
    const bool same = exists ? existsNow && now.st_dev == status.st_dev && now.st_ino == status.st_ino
                             : !existsNow && errno == ENOENT;
    if (same)
        lock = std::move(held);
    return {};
}

TemporaryName TemporaryNameFor(const std::filesystem::path& target)
{
    return TemporaryName(target.filename().string(), LongestName(FolderOf(target)));
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
    // O_NONBLOCK keeps the open from waiting should the path have become a pipe since the
    // check; it is cleared again for reading.
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
    const std::string pattern = (target.parent_path() / TemporaryNameFor(target).Pattern()).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int descriptor = ::mkostemp(buffer.data(), O_CLOEXEC);
    if (descriptor < 0)
        return LastError();
    temporary = std::filesystem::path(buffer.data());
    file = std::make_unique<PosixFile>(descriptor);
    return {};
}

std::error_code PosixFileSystem::RemoveLeftOverTemporaries(const std::filesystem::path& target)
{
    const std::filesystem::path folder = FolderOf(target);
    const TemporaryName name = TemporaryNameFor(target);
    DIR* directory = ::opendir(folder.c_str());
    if (!directory)
        return LastError();
    std::error_code error;
    while (const dirent* entry = ::readdir(directory)) {
        if (!name.Matches(entry->d_name))
            continue;
        // Only a regular file is one of ours: a link or a folder that happens to be named so stays.
        const std::filesystem::path leftOver = folder / entry->d_name;
        struct stat status { };
        if (::lstat(leftOver.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::unlink(leftOver.c_str()) != 0
            && !error)
            error = LastError();
    }
    ::closedir(directory);
    return error;
}

std::error_code PosixFileSystem::LockForWriting(const std::filesystem::path& path, std::unique_ptr<FileLock>& lock)
{
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        bool busy = false;
        if (const std::error_code error = TryLock(path, lock, busy))
            return error;
        if (lock)
            return {};
        if (std::chrono::steady_clock::now() >= deadline)
            return {EWOULDBLOCK, std::generic_category()};
        if (busy)
            std::this_thread::sleep_for(kLockPoll);
    }
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

std::error_code PosixFileSystem::Identify(const std::filesystem::path& path, FileIdentity& identity)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return LastError();
    identity = IdentityOf(status);
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
    return FollowLinks(path);
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
