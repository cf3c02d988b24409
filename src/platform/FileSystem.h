#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <system_error>

namespace sekreta::platform {

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

// The file system operations that opening and saving a document need.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens an existing regular file for reading; other writers are refused while it is open.
    // Anything else fails at once, without waiting for a writer or a device: a folder with
    // EISDIR, a pipe, a device or a socket with EACCES.
    virtual std::error_code OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file) = 0;
    // Creates a new, uniquely named hidden file in the folder of `target`, readable and
    // writable by the owner alone.
    virtual std::error_code CreateTemporaryBeside(
        const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file)
        = 0;
    // The file's owner, group and permission bits.
    virtual std::error_code GetOwnership(const std::filesystem::path& path, FileOwnership& ownership) = 0;
    // Gives the file the owner and group as far as this user may give them away (failing that,
    // they stay this user's), then the permission bits.
    virtual std::error_code SetOwnership(const std::filesystem::path& path, const FileOwnership& ownership) = 0;
    // Puts `from` in the place of `to` in one step, and makes that durable.
    virtual std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual std::error_code Remove(const std::filesystem::path& path) = 0;

    virtual bool Exists(const std::filesystem::path& path) = 0;
    // True when the path, its links followed, names a regular file: no folder, pipe or device.
    virtual bool IsRegularFile(const std::filesystem::path& path) = 0;
    // True when the file exists and this user may not write it.
    virtual bool IsReadOnly(const std::filesystem::path& path) = 0;
    // The path made absolute against the current folder, with "." and ".." resolved.
    virtual std::filesystem::path Absolute(const std::filesystem::path& path) = 0;
    // The file a chain of symbolic links ends at; the path itself when it is no link.
    virtual std::filesystem::path ResolveLinks(const std::filesystem::path& path) = 0;
    virtual std::filesystem::path CurrentDirectory() = 0;
    // The name a file manager shows for the file: its last part, with the extension.
    virtual std::string DisplayName(const std::filesystem::path& path) = 0;
};

}  // namespace sekreta::platform
