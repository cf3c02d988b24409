#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <system_error>

namespace sekreta::platform {

// Which file a path leads to, and which version of it. One file is one device and inode,
// whatever its paths; its contents count as unchanged while its size and modification time are.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;  // since the epoch

    bool IsSameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    bool operator==(const FileIdentity&) const = default;
};

// An open file, read or written from its start onwards. Every operation that can fail returns
// the system's error (an errno value in the generic category); an empty code means success.
class File {
public:
    virtual ~File() = default;

    // Reads up to buffer.size() bytes; bytesRead is 0 at the end of the file.
    virtual std::error_code Read(std::span<std::uint8_t> buffer, std::size_t& bytesRead) = 0;
    // Writes all of data or fails.
    virtual std::error_code Write(std::span<const std::uint8_t> data) = 0;
    virtual std::error_code Size(std::uint64_t& size) = 0;
    // The open file's identity, its size and modification time as they are now.
    virtual std::error_code Identify(FileIdentity& identity) = 0;
    // Makes everything written so far durable on the disk.
    virtual std::error_code Flush() = 0;
    virtual std::error_code Close() = 0;
};

// Who owns a file, and what its permission bits (07777) allow.
struct FileOwnership {
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint32_t mode = 0;
};

// The lock that every writer of a file holds while it reads what it changes and replaces the
// file; released when destroyed, and by the system when the process ends however it ends.
class FileLock {
public:
    virtual ~FileLock() = default;
    // False where the file system has no such locks and the writer goes on without one.
    virtual bool IsHeld() const = 0;
};

// The file system operations that opening and saving a document need.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading. Readers take no lock: every writer replaces
    // the file whole by a rename, so a reader sees the old file or the new one. Anything else
    // fails at once, without waiting for a writer or a device: a folder with EISDIR, a pipe, a
    // device or a socket with EACCES.
    virtual std::error_code OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file) = 0;
    // Creates a new, uniquely named hidden file in the folder of `target`, readable and
    // writable by the owner alone. Its name fits the folder's limit, however long the target's.
    virtual std::error_code CreateTemporaryBeside(
        const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file)
        = 0;
    // Removes the files that CreateTemporaryBeside made for `target` and that are still there,
    // recognised by their exact names; nothing else. Only the holder of the target's writers'
    // lock may call it, and only while the lock is held: no other save of the target is at work.
    virtual std::error_code RemoveLeftOverTemporaries(const std::filesystem::path& target) = 0;
    // Takes the writers' exclusive lock on the file the path names (its links followed), or on
    // the folder it would be made in while there is no such file. Waits a few seconds for
    // another writer, then fails with EWOULDBLOCK. Fails like OpenForReading for something that
    // is no regular file. Where the file system has no locks (some network file systems) it is
    // granted without holding anything: the save stays whole, only the wait is lost.
    virtual std::error_code LockForWriting(const std::filesystem::path& path, std::unique_ptr<FileLock>& lock) = 0;
    // The file's owner, group and permission bits.
    virtual std::error_code GetOwnership(const std::filesystem::path& path, FileOwnership& ownership) = 0;
    // Gives the file the owner and group as far as this user may give them away (failing that,
    // they stay this user's), then the permission bits.
    virtual std::error_code SetOwnership(const std::filesystem::path& path, const FileOwnership& ownership) = 0;
    // Puts `from` in the place of `to` in one step, and makes that durable.
    virtual std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual std::error_code Remove(const std::filesystem::path& path) = 0;

    // The identity of the file the path names, its links followed.
    virtual std::error_code Identify(const std::filesystem::path& path, FileIdentity& identity) = 0;
    // True when both paths lead to one file: equal paths, or the same device and inode.
    bool IsSameFile(const std::filesystem::path& first, const std::filesystem::path& second)
    {
        FileIdentity one;
        FileIdentity other;
        return first == second || (!Identify(first, one) && !Identify(second, other) && one.IsSameFile(other));
    }

    virtual bool Exists(const std::filesystem::path& path) = 0;
    // True when the path, its links followed, names a regular file: no folder, pipe or device.
    virtual bool IsRegularFile(const std::filesystem::path& path) = 0;
    // True when the file exists and this user may not write it.
    virtual bool IsReadOnly(const std::filesystem::path& path) = 0;
    // The path made absolute against the current folder, with "." and ".." resolved.
    virtual std::filesystem::path Absolute(const std::filesystem::path& path) = 0;
    // The file a chain of symbolic links ends at, whether or not that file exists yet; the path
    // itself when it is no link.
    virtual std::filesystem::path ResolveLinks(const std::filesystem::path& path) = 0;
    virtual std::filesystem::path CurrentDirectory() = 0;
    // The name a file manager shows for the file: its last part, with the extension.
    virtual std::string DisplayName(const std::filesystem::path& path) = 0;
};

}  // namespace sekreta::platform
