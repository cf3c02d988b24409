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

// The file system operations that opening and saving a document need.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Opens an existing file for reading; other writers are refused while it is open.
    virtual std::error_code OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file) = 0;
    // Creates a new, uniquely named file in the folder of `target`, with the permissions of
    // `target` when it exists and readable and writable by the owner alone otherwise.
    virtual std::error_code CreateTemporaryBeside(
        const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file)
        = 0;
    // Puts `from` in the place of `to` in one step, and makes that durable.
    virtual std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual std::error_code Remove(const std::filesystem::path& path) = 0;

    virtual bool Exists(const std::filesystem::path& path) = 0;
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
