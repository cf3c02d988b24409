#pragma once

#include "platform/posix/PosixFileSystem.h"

#include <map>
#include <optional>

namespace sekreta::platform {

enum class FileOperation {
    OpenForReading,
    CreateTemporary,
    Read,
    Write,
    Size,
    Flush,
    Close,
    GetOwnership,
    SetOwnership,
    Replace,
    Remove,
    Lock,
};

// The real file system, with two things a test needs: a chosen operation can be made to fail
// with a chosen system error, and the current folder can be set without changing the process's.
class HeadlessFileSystem : public PosixFileSystem {
public:
    // The call of `operation` after `skip` further successful ones fails once with osError.
    void Fail(FileOperation operation, int osError, int skip = 0);
    // How often `operation` was called, failed calls included.
    int Calls(FileOperation operation) const;
    void SetCurrentDirectory(std::filesystem::path directory);

    // Consulted by every operation, the open files' too: the error to fail with, if any.
    std::error_code Check(FileOperation operation);

    std::error_code OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file) override;
    std::error_code CreateTemporaryBeside(
        const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file) override;
    std::error_code LockForWriting(const std::filesystem::path& path, std::unique_ptr<FileLock>& lock) override;
    std::error_code GetOwnership(const std::filesystem::path& path, FileOwnership& ownership) override;
    std::error_code SetOwnership(const std::filesystem::path& path, const FileOwnership& ownership) override;
    std::error_code Replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::error_code Remove(const std::filesystem::path& path) override;
    std::filesystem::path Absolute(const std::filesystem::path& path) override;
    std::filesystem::path CurrentDirectory() override;

private:
    struct PlannedFailure {
        int osError;
        int skip;
    };
    std::map<FileOperation, PlannedFailure> m_failures;
    std::map<FileOperation, int> m_calls;
    std::optional<std::filesystem::path> m_currentDirectory;
};

}  // namespace sekreta::platform
