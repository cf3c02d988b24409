#include "platform/posix/PosixFile.h"

#include <cerrno>
#include <unistd.h>

namespace sekreta::platform {

namespace {

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

}  // namespace

FileIdentity IdentityOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
        static_cast<std::uint64_t>(status.st_size),
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

PosixFile::PosixFile(int descriptor)
    : m_descriptor(descriptor)
{
}

PosixFile::~PosixFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

std::error_code PosixFile::Read(std::span<std::uint8_t> buffer, std::size_t& bytesRead)
{
    bytesRead = 0;
    if (m_descriptor < 0)
        return {EBADF, std::generic_category()};
    for (;;) {
        const ssize_t got = ::read(m_descriptor, buffer.data(), buffer.size());
        if (got >= 0) {
            bytesRead = static_cast<std::size_t>(got);
            return {};
        }
        if (errno != EINTR)
            return LastError();
    }
}

std::error_code PosixFile::Write(std::span<const std::uint8_t> data)
{
    if (m_descriptor < 0)
        return {EBADF, std::generic_category()};
    while (!data.empty()) {
        const ssize_t put = ::write(m_descriptor, data.data(), data.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        data = data.subspan(static_cast<std::size_t>(put));
    }
    return {};
}

std::error_code PosixFile::Size(std::uint64_t& size)
{
    struct stat status { };
    if (::fstat(m_descriptor, &status) != 0)
        return LastError();
    size = static_cast<std::uint64_t>(status.st_size);
    return {};
}

std::error_code PosixFile::Identify(FileIdentity& identity)
{
    struct stat status { };
    if (::fstat(m_descriptor, &status) != 0)
        return LastError();
    identity = IdentityOf(status);
    return {};
}

std::error_code PosixFile::Flush()
{
    if (::fsync(m_descriptor) != 0)
        return LastError();
    return {};
}

std::error_code PosixFile::Close()
{
    if (m_descriptor < 0)
        return {};
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    // The descriptor is gone whatever close() says; an error still means lost data (NFS, quotas).
    if (::close(descriptor) != 0 && errno != EINTR)
        return LastError();
    return {};
}

}  // namespace sekreta::platform
