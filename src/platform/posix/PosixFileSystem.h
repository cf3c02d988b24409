#pragma once

#include "platform/FileSystem.h"

namespace sekreta::platform {

// The real file system, through POSIX calls.
class PosixFileSystem : public FileSystem {
public:
    std::error_code OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file) override;
    std::error_code CreateTemporaryBeside(
        const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file) override;
    std::error_code RemoveLeftOverTemporaries(const std::filesystem::path& target) override;
    std::error_code LockForWriting(const std::filesystem::path& path, std::unique_ptr<FileLock>& lock) override;
    std::error_code GetOwnership(const std::filesystem::path& path, FileOwnership& ownership) override;
    std::error_code SetOwnership(const std::filesystem::path& path, const FileOwnership& ownership) override;
    std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::error_code Remove(const std::filesystem::path& path) override;
    std::error_code Identify(const std::filesystem::path& path, FileIdentity& identity) override;

    bool Exists(const std::filesystem::path& path) override;
    bool IsRegularFile(const std::filesystem::path& path) override;
    bool IsReadOnly(const std::filesystem::path& path) override;
    std::filesystem::path Absolute(const std::filesystem::path& path) override;
    std::filesystem::path ResolveLinks(const std::filesystem::path& path) override;
    std::filesystem::path CurrentDirectory() override;
    std::string DisplayName(const std::filesystem::path& path) override;
};

}  // namespace sekreta::platform
