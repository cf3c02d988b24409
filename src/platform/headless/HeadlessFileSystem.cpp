#include "platform/headless/HeadlessFileSystem.h"

namespace sekreta::platform {

namespace {

// An open file whose every operation first asks the file system whether it should fail.
class HeadlessFile : public File {
public:
    HeadlessFile(HeadlessFileSystem& fileSystem, std::unique_ptr<File> file)
        : m_fileSystem(fileSystem)
        , m_file(std::move(file))
    {
    }

    std::error_code Read(std::span<std::uint8_t> buffer, std::size_t& bytesRead) override
    {
        bytesRead = 0;
        if (const std::error_code error = m_fileSystem.Check(FileOperation::Read))
            return error;
        return m_file->Read(buffer, bytesRead);
    }
    std::error_code Write(std::span<const std::uint8_t> data) override
    {
        if (const std::error_code error = m_fileSystem.Check(FileOperation::Write))
            return error;
        return m_file->Write(data);
    }
    std::error_code Size(std::uint64_t& size) override
    {
        if (const std::error_code error = m_fileSystem.Check(FileOperation::Size))
            return error;
        return m_file->Size(size);
    }
    std::error_code Identify(FileIdentity& identity) override { return m_file->Identify(identity); }
    std::error_code Flush() override
    {
        if (const std::error_code error = m_fileSystem.Check(FileOperation::Flush))
            return error;
        return m_file->Flush();
    }
    std::error_code Close() override
    {
        const std::error_code planned = m_fileSystem.Check(FileOperation::Close);
        const std::error_code error = m_file->Close();
        return planned ? planned : error;
    }

private:
    HeadlessFileSystem& m_fileSystem;
    std::unique_ptr<File> m_file;
};

}  // namespace

void HeadlessFileSystem::Fail(FileOperation operation, int osError, int skip)
{
    m_failures[operation] = {osError, skip};
}

int HeadlessFileSystem::Calls(FileOperation operation) const
{
    const auto found = m_calls.find(operation);
    return found == m_calls.end() ? 0 : found->second;
}

void HeadlessFileSystem::SetCurrentDirectory(std::filesystem::path directory)
{
    m_currentDirectory = std::move(directory);
}

std::error_code HeadlessFileSystem::Check(FileOperation operation)
{
    ++m_calls[operation];
    const auto found = m_failures.find(operation);
    if (found == m_failures.end())
        return {};
    if (found->second.skip > 0) {
        --found->second.skip;
        return {};
    }
    const int osError = found->second.osError;
    m_failures.erase(found);
    return {osError, std::generic_category()};
}

std::error_code HeadlessFileSystem::OpenForReading(const std::filesystem::path& path, std::unique_ptr<File>& file)
{
    if (const std::error_code error = Check(FileOperation::OpenForReading))
        return error;
    std::unique_ptr<File> real;
    if (const std::error_code error = PosixFileSystem::OpenForReading(path, real))
        return error;
    file = std::make_unique<HeadlessFile>(*this, std::move(real));
    return {};
}

std::error_code HeadlessFileSystem::CreateTemporaryBeside(
    const std::filesystem::path& target, std::filesystem::path& temporary, std::unique_ptr<File>& file)
{
    if (const std::error_code error = Check(FileOperation::CreateTemporary))
        return error;
    std::unique_ptr<File> real;
    if (const std::error_code error = PosixFileSystem::CreateTemporaryBeside(target, temporary, real))
        return error;
    file = std::make_unique<HeadlessFile>(*this, std::move(real));
    return {};
}

std::error_code HeadlessFileSystem::LockForWriting(const std::filesystem::path& path, std::unique_ptr<FileLock>& lock)
{
    if (const std::error_code error = Check(FileOperation::Lock))
        return error;
    return PosixFileSystem::LockForWriting(path, lock);
}

std::error_code HeadlessFileSystem::GetOwnership(const std::filesystem::path& path, FileOwnership& ownership)
{
    if (const std::error_code error = Check(FileOperation::GetOwnership))
        return error;
    return PosixFileSystem::GetOwnership(path, ownership);
}

std::error_code HeadlessFileSystem::SetOwnership(const std::filesystem::path& path, const FileOwnership& ownership)
{
    if (const std::error_code error = Check(FileOperation::SetOwnership))
        return error;
    return PosixFileSystem::SetOwnership(path, ownership);
}

std::error_code HeadlessFileSystem::Replace(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (const std::error_code error = Check(FileOperation::Replace))
        return error;
    return PosixFileSystem::Replace(from, to);
}

std::error_code HeadlessFileSystem::Remove(const std::filesystem::path& path)
{
    if (const std::error_code error = Check(FileOperation::Remove))
        return error;
    return PosixFileSystem::Remove(path);
}

std::filesystem::path HeadlessFileSystem::Absolute(const std::filesystem::path& path)
{
    if (!m_currentDirectory || path.is_absolute())
        return PosixFileSystem::Absolute(path);
    return PosixFileSystem::Absolute(*m_currentDirectory / path);
}

std::filesystem::path HeadlessFileSystem::CurrentDirectory()
{
    return m_currentDirectory ? *m_currentDirectory : PosixFileSystem::CurrentDirectory();
}

}  // namespace sekreta::platform
