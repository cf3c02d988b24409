#include "framework/CFile.h"

#include "framework/CFileException.h"

#include <cerrno>
#include <span>

namespace sekreta {

CFile::CFile(std::unique_ptr<platform::File> file, std::filesystem::path filePath)
    : m_file(std::move(file))
    , m_filePath(std::move(filePath))
{
}

CFile::~CFile()
{
    if (m_file)
        m_file->Close();
}

std::unique_ptr<CFile> CFile::OpenForReading(platform::FileSystem& fileSystem, const std::filesystem::path& path)
{
    std::unique_ptr<platform::File> file;
    if (const std::error_code error = fileSystem.OpenForReading(path, file))
        throw CFileException::FromError(error, path.string());
    return std::make_unique<CFile>(std::move(file), path);
}

platform::File& CFile::OpenFile() const
{
    if (!m_file)
        throw CFileException(CFileException::invalidFile, EBADF, GetFilePath());
    return *m_file;
}

std::size_t CFile::Read(void* buffer, std::size_t count)
{
    std::size_t bytesRead = 0;
    if (const std::error_code error = OpenFile().Read({static_cast<std::uint8_t*>(buffer), count}, bytesRead))
        throw CFileException::FromError(error, GetFilePath());
    m_position += bytesRead;
    return bytesRead;
}

void CFile::Write(const void* data, std::size_t count)
{
    if (const std::error_code error = OpenFile().Write({static_cast<const std::uint8_t*>(data), count}))
        throw CFileException::FromError(error, GetFilePath());
    m_position += count;
}

std::uint64_t CFile::GetLength()
{
    std::uint64_t size = 0;
    if (const std::error_code error = OpenFile().Size(size))
        throw CFileException::FromError(error, GetFilePath());
    return size;
}

std::uint64_t CFile::GetPosition() const
{
    return m_position;
}

platform::FileIdentity CFile::GetIdentity()
{
    platform::FileIdentity identity;
    if (const std::error_code error = OpenFile().Identify(identity))
        throw CFileException::FromError(error, GetFilePath());
    return identity;
}

void CFile::Flush()
{
    if (const std::error_code error = OpenFile().Flush())
        throw CFileException::FromError(error, GetFilePath());
}

void CFile::Close()
{
    if (!m_file)
        return;
    const std::error_code error = m_file->Close();
    m_file.reset();
    if (error)
        throw CFileException::FromError(error, GetFilePath());
}

void CFile::Abort()
{
    if (!m_file)
        return;
    m_file->Close();
    m_file.reset();
}

}  // namespace sekreta
