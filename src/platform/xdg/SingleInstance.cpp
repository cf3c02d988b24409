#include "platform/xdg/SingleInstance.h"

#include "platform/xdg/XdgDirectories.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace sekreta::platform {

namespace {

// How long a hand-over may wait for a listener whose queue of connections is full.
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

SingleInstance::HandOverResult SingleInstance::HandOver(std::string_view request) const
{
    sockaddr_un address {};
    if (!MakeAddress(m_path, address) || !PrivateSocket(m_path))
        return HandOverResult::NoListener;
    int error = 0;
    UniqueDescriptor connection(Connect(address, error));
    // A listener that does not take the connection in time is there, but does not answer.
    if (connection.Get() < 0 && (error == EAGAIN || error == ETIMEDOUT))
        return HandOverResult::NoAnswer;
    if (connection.Get() < 0 || !PeerIsThisUser(connection.Get()))
        return HandOverResult::NoListener;
    while (!request.empty()) {
        const ssize_t sent = ::send(connection.Get(), request.data(), request.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return HandOverResult::NoAnswer;
        request.remove_prefix(static_cast<std::size_t>(sent));
    }
    // The end of sending ends the request.
    if (::shutdown(connection.Get(), SHUT_WR) != 0)
        return HandOverResult::NoAnswer;

    const Clock::time_point deadline = Clock::now() + kAnswerWait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return HandOverResult::NoAnswer;
        pollfd waiting {connection.Get(), POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return HandOverResult::NoAnswer;
        char answer = 0;
        const ssize_t count = ::recv(connection.Get(), &answer, 1, 0);
        if (count < 0 && errno == EINTR)
            continue;
        if (count == 0)
            return HandOverResult::Taken;
        if (count < 0)
            return HandOverResult::NoAnswer;
        return answer == kTaken ? HandOverResult::Taken : HandOverResult::Refused;
    }
}

bool SingleInstance::Listen()
{
    if (m_listener.Get() >= 0)
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
            UniqueDescriptor events(::epoll_create1(EPOLL_CLOEXEC));
            UniqueDescriptor idleTimer(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
            epoll_event timerEvent {.events = EPOLLIN, .data = {.fd = idleTimer.Get()}};
            if (events.Get() < 0 || idleTimer.Get() < 0
                || ::epoll_ctl(events.Get(), EPOLL_CTL_ADD, idleTimer.Get(), &timerEvent) != 0) {
                ::unlink(m_path.c_str());
                return false;
            }
            m_device = status.st_dev;
            m_inode = status.st_ino;
            m_listener = std::move(listener);
            m_poll = std::move(events);
            m_idleTimer = std::move(idleTimer);
            WatchListener(true);
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

void SingleInstance::ServeRequests(const std::function<bool(std::string_view request)>& take)
{
    if (m_listener.Get() < 0)
        return;
    std::uint64_t expirations = 0;
    while (::read(m_idleTimer.Get(), &expirations, sizeof(expirations)) > 0) { }

    const Clock::time_point now = Clock::now();
    const bool accepted = AcceptWaiting(now);
    std::erase_if(m_connections, [&](Connection& connection) {
        const Reading reading = ReadWhatArrived(connection, now);
        if (reading == Reading::Waiting)
            return false;
        const bool taken = reading == Reading::Complete && !connection.request.empty() && take(connection.request);
        // The answer fits the socket's empty buffer, so sending it never waits.
        const char answer = taken ? kTaken : kRefused;
        ::send(connection.socket.Get(), &answer, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        return true;
    });
    // More connections wait in the listener's queue until one of these is done. With no
    // descriptor to spare, a watched listener would stay readable and wake the loop without end:
    // it is watched again once the idle limit has passed.
    WatchListener(accepted && m_connections.size() < kMostConnections);
    ArmIdleTimer(now, !accepted);
}

bool SingleInstance::AcceptWaiting(Clock::time_point now)
{
    while (m_connections.size() < kMostConnections) {
        UniqueDescriptor connection(::accept4(m_listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (connection.Get() < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return errno == EAGAIN || errno == EWOULDBLOCK;
        }
        epoll_event event {.events = EPOLLIN, .data = {.fd = connection.Get()}};
        if (!PeerIsThisUser(connection.Get())
            || ::epoll_ctl(m_poll.Get(), EPOLL_CTL_ADD, connection.Get(), &event) != 0)
            continue;
        m_connections.push_back({std::move(connection), std::string(), now});
    }
    return true;
}

SingleInstance::Reading SingleInstance::ReadWhatArrived(Connection& connection, Clock::time_point now)
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::recv(connection.socket.Get(), buffer, sizeof(buffer), MSG_DONTWAIT);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return now - connection.lastByte >= kIdleLimit ? Reading::Dropped : Reading::Waiting;
        if (count < 0)
            return Reading::Dropped;
        if (count == 0)
            return Reading::Complete;
        connection.request.append(buffer, static_cast<std::size_t>(count));
        connection.lastByte = now;
        if (connection.request.size() > kLargestRequest)
            return Reading::Dropped;
    }
}

void SingleInstance::WatchListener(bool watch)
{
    if (watch == m_listenerWatched)
        return;
    epoll_event event {.events = EPOLLIN, .data = {.fd = m_listener.Get()}};
    if (::epoll_ctl(m_poll.Get(), watch ? EPOLL_CTL_ADD : EPOLL_CTL_DEL, m_listener.Get(), &event) == 0)
        m_listenerWatched = watch;
}

void SingleInstance::ArmIdleTimer(Clock::time_point now, bool retryAccept)
{
    std::optional<Clock::time_point> wake;
    if (retryAccept)
        wake = now + kIdleLimit;
    for (const Connection& connection : m_connections)
        wake = std::min(wake.value_or(Clock::time_point::max()), connection.lastByte + kIdleLimit);
    itimerspec timer {};
    if (wake) {
        // At least a millisecond: a zero time would disarm the timer.
        const auto left = std::max<Clock::duration>(*wake - now, std::chrono::milliseconds(1));
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        timer.it_value.tv_sec = seconds.count();
        timer.it_value.tv_nsec = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count();
    }
    ::timerfd_settime(m_idleTimer.Get(), 0, &timer, nullptr);
}

void SingleInstance::StopListening()
{
    if (m_listener.Get() < 0)
        return;
    m_connections.clear();
    m_idleTimer.Reset();
    m_poll.Reset();
    m_listener.Reset();
    m_listenerWatched = false;
    struct stat status { };
    if (::lstat(m_path.c_str(), &status) == 0 && status.st_dev == m_device && status.st_ino == m_inode)
        ::unlink(m_path.c_str());
}

}  // namespace sekreta::platform
