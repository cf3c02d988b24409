#pragma once

#include "platform/FileSystem.h"

#include <sys/stat.h>

namespace sekreta::platform {

// What a stat call tells of a file's identity.
FileIdentity IdentityOf(const struct stat& status);

// A file descriptor owned for the life of the object.
class PosixFile : public File {
public:
    explicit PosixFile(int descriptor);
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::error_code Read(std::span<std::uint8_t> buffer, std::size_t& bytesRead) override;
    std::error_code Write(std::span<const std::uint8_t> data) override;
    std::error_code Size(std::uint64_t& size) override;
    std::error_code Identify(FileIdentity& identity) override;
    std::error_code Flush() override;
    std::error_code Close() override;

private:
    int m_descriptor;
};

}  // namespace sekreta::platform
