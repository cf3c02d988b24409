#include "platform/xdg/SingleInstance.h"

#include "platform/xdg/XdgDirectories.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace sekreta::platform {

namespace {

// How long a hand-over may wait for a listener that is busy.
constexpr int kHandOverSeconds = 3;

bool IsOwnAndPrivate(const struct stat& status)
{
    return status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

bool IsPrivateFolder(const std::filesystem::path& folder)
{
    struct stat status { };
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && IsOwnAndPrivate(status);
}

// The socket file, when it is this user's alone, in a folder that is too.
std::optional<struct stat> PrivateSocket(const std::filesystem::path& path)
{
    struct stat status { };
    if (!IsPrivateFolder(path.parent_path()) || ::lstat(path.c_str(), &status) != 0 || !S_ISSOCK(status.st_mode)
        || !IsOwnAndPrivate(status))
        return std::nullopt;
    return status;
}

bool MakeAddress(const std::filesystem::path& path, sockaddr_un& address)
{
    const std::string& text = path.native();
    if (text.empty() || text.size() >= sizeof(address.sun_path))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

bool PeerIsThisUser(int descriptor)
{
    ucred credentials {};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0
        && credentials.uid == ::geteuid();
}

// Closes a descriptor when it goes out of scope.
class UniqueDescriptor {
public:
    explicit UniqueDescriptor(int descriptor)
        : m_descriptor(descriptor)
    {
    }
    ~UniqueDescriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    UniqueDescriptor(const UniqueDescriptor&) = delete;
    UniqueDescriptor& operator=(const UniqueDescriptor&) = delete;

    int Get() const { return m_descriptor; }
    int Release() { return std::exchange(m_descriptor, -1); }

private:
    int m_descriptor;
};

// A connection to the socket; -1 when none can be made. `error` tells why.
int Connect(const sockaddr_un& address, int& error)
{
    UniqueDescriptor connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (connection.Get() < 0) {
        error = errno;
        return -1;
    }
    // Bounds the wait for a listener whose queue is full, and for sending.
    const timeval timeout {kHandOverSeconds, 0};
    ::setsockopt(connection.Get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    if (::connect(connection.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        error = errno;
        return -1;
    }
    return connection.Release();
}

}  // namespace

std::optional<std::filesystem::path> SingleInstance::UserSocketPath()
{
    const XdgDirectories directories = XdgDirectories::FromEnvironment();
    std::filesystem::path folder;
    if (directories.runtimeDir) {
        folder = *directories.runtimeDir / "sekreta";
    } else {
        std::error_code error;
        const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
        if (error)
            return std::nullopt;
        folder = temporary / ("sekreta-" + std::to_string(::geteuid()));
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    // A folder that someone else made first, or opened to others, is not trusted.
    if (!IsPrivateFolder(folder))
        return std::nullopt;
    std::filesystem::path path = folder / "instance";
    sockaddr_un address {};
    if (!MakeAddress(path, address))
        return std::nullopt;
    return path;
}

SingleInstance::SingleInstance(std::filesystem::path socketPath)
    : m_path(std::move(socketPath))
{
}

SingleInstance::~SingleInstance()
{
    StopListening();
}

bool SingleInstance::HandOver(std::string_view request) const
{
    sockaddr_un address {};
    if (!MakeAddress(m_path, address) || !PrivateSocket(m_path))
        return false;
    int error = 0;
    UniqueDescriptor connection(Connect(address, error));
    if (connection.Get() < 0 || !PeerIsThisUser(connection.Get()))
        return false;
    while (!request.empty()) {
        const ssize_t sent = ::send(connection.Get(), request.data(), request.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        request.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

bool SingleInstance::Listen()
{
    if (m_listener >= 0)
        return true;
    sockaddr_un address {};
    if (!MakeAddress(m_path, address) || !IsPrivateFolder(m_path.parent_path()))
        return false;
    // A second try follows the removal of a stale socket; a third, a race with another start.
    for (int attempt = 0; attempt < 3; ++attempt) {
        UniqueDescriptor listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (listener.Get() < 0)
            return false;
        if (::bind(listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
            struct stat status { };
            if (::chmod(m_path.c_str(), 0600) != 0 || ::lstat(m_path.c_str(), &status) != 0
                || ::listen(listener.Get(), SOMAXCONN) != 0) {
                ::unlink(m_path.c_str());
                return false;
            }
            m_device = status.st_dev;
            m_inode = status.st_ino;
            m_listener = listener.Release();
            return true;
        }
        if (errno != EADDRINUSE)
            return false;

        // Something is there. Only our own socket that answers no connection may be replaced.
        const std::optional<struct stat> existing = PrivateSocket(m_path);
        if (!existing)
            return false;
        int error = 0;
        const UniqueDescriptor probe(Connect(address, error));
        if (probe.Get() >= 0 || error != ECONNREFUSED)
            return false;
        // Removed only while it is still the file that refused, not one a rival start just made.
        struct stat now { };
        if (::lstat(m_path.c_str(), &now) == 0 && now.st_dev == existing->st_dev && now.st_ino == existing->st_ino)
            ::unlink(m_path.c_str());
    }
    return false;
}

std::optional<std::string> SingleInstance::ReceiveRequest()
{
    if (m_listener < 0)
        return std::nullopt;
    UniqueDescriptor connection(::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (connection.Get() < 0 || !PeerIsThisUser(connection.Get()))
        return std::nullopt;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kRequestMilliseconds);
    std::string request;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return std::nullopt;
        pollfd waiting {connection.Get(), POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        const ssize_t count = ::recv(connection.Get(), buffer, sizeof(buffer), 0);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            break;
        request.append(buffer, static_cast<std::size_t>(count));
        if (request.size() > kLargestRequest)
            return std::nullopt;
    }
    if (request.empty())
        return std::nullopt;
    return request;
}

void SingleInstance::StopListening()
{
    if (m_listener < 0)
        return;
    ::close(m_listener);
    m_listener = -1;
    struct stat status { };
    if (::lstat(m_path.c_str(), &status) == 0 && status.st_dev == m_device && status.st_ino == m_inode)
        ::unlink(m_path.c_str());
}

}  // namespace sekreta::platform
