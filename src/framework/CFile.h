#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace sekreta {

// A byte stream over an open file. Every failing operation throws CFileException naming the file.
class CFile {
public:
    CFile() = default;
    // Takes over an open file; filePath is the name that messages give it.
    CFile(std::unique_ptr<platform::File> file, std::filesystem::path filePath);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens an existing file for reading.
    static std::unique_ptr<CFile> OpenForReading(platform::FileSystem& fileSystem, const std::filesystem::path& path);

    // Reads up to count bytes and returns how many it read: 0 at the end of the file.
    virtual std::size_t Read(void* buffer, std::size_t count);
    virtual void Write(const void* data, std::size_t count);
    virtual std::uint64_t GetLength();
    virtual std::uint64_t GetPosition() const;
    // Which file is open, with its size and modification time as they are now.
    virtual platform::FileIdentity GetIdentity();
    // Makes everything written durable.
    virtual void Flush();
    virtual void Close();
    // Closes without reporting anything; for paths that are already failing.
    virtual void Abort();

    std::string GetFilePath() const { return m_filePath.string(); }

private:
    platform::File& OpenFile() const;

    std::unique_ptr<platform::File> m_file;
    std::filesystem::path m_filePath;
    std::uint64_t m_position = 0;
};

}  // namespace sekreta
