#pragma once

#include "platform/xdg/UniqueDescriptor.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace sekreta::platform {

// One running program per user: the first start listens on a local socket, a later start
// hands it a request, such as [open("/home/me/Letters.sek")], waits for its answer, and ends.
//
// The socket lives in a folder that only this user can enter, and both sides check that the
// other is this user: nobody else can send requests, and no request is handed to a program
// of somebody else. A socket left by a program that crashed answers no connection; the next
// start replaces it.
//
// The listening side never waits for a sender: its connections are read as their bytes
// arrive, whenever the one descriptor it is watched by becomes readable, so a sender that is
// slow or sends nothing holds no other request back and never blocks the window.
//
// How main uses it:
//   const auto path = SingleInstance::UserSocketPath();       // nothing: run without it
//   SingleInstance instance(*path);
//   if (fileNamed) switch (instance.HandOver(request)) ...    // taken: end; else say why
//   instance.Listen();                                        // false: run without it
//   watch instance.Descriptor() for reading (QSocketNotifier); on each activation:
//     instance.ServeRequests(take);                           // take queues a request or refuses it
// The object stops listening and removes its socket when destroyed.
class SingleInstance {
public:
    // Longest request taken.
    static constexpr std::size_t kLargestRequest = 64 * 1024;
    // A connection that sends nothing for this long is dropped.
    static constexpr std::chrono::milliseconds kIdleLimit {1000};
    // Connections read at once; later ones wait to be accepted until one of these is done.
    static constexpr std::size_t kMostConnections = 32;
    // How long a hand-over waits for the running program's answer.
    static constexpr std::chrono::milliseconds kAnswerWait {5000};
    // The one byte that answers a request.
    static constexpr char kTaken = '+';
    static constexpr char kRefused = '-';

    enum class HandOverResult {
        // No program of this user listens (no socket, a stale one, one that is not this
        // user's alone, or another user's listener): this start is the first.
        NoListener,
        // The running program took the request; it opens the file when it can.
        Taken,
        // The running program refused it: it cannot take more now, or the request is not one.
        Refused,
        // The running program did not take the request or did not answer within kAnswerWait.
        NoAnswer,
    };

    // The socket of this user's running program: $XDG_RUNTIME_DIR/sekreta/instance, or
    // sekreta-UID/instance in the temporary folder when $XDG_RUNTIME_DIR is unset. The folder
    // is created, readable by this user alone, when missing. Nothing when it cannot be made,
    // or when it exists but is not a folder of this user's that no one else may enter.
    static std::optional<std::filesystem::path> UserSocketPath();

    explicit SingleInstance(std::filesystem::path socketPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Sends the request to the program listening on the socket, ends the sending side, and
    // waits for the answer. A program that closes the connection without answering took it
    // (an older copy answers nothing).
    HandOverResult HandOver(std::string_view request) const;

    // Starts listening, in place of a stale socket that this user left. False when another
    // program listens already, when something at the socket's path is not this user's
    // private socket (it is left alone), or when the socket cannot be made.
    bool Listen();
    // The one descriptor to watch: readable when a connection, its bytes or the idle limit of
    // one wait for ServeRequests. -1 when not listening.
    int Descriptor() const { return m_poll.Get(); }
    // Takes what has arrived, never waiting: new connections (from this user only), the bytes
    // they sent, and each request that is complete (its sender ended sending). `take` decides
    // on each; its answer goes back at once, and the connection is closed. A connection that
    // sends nothing for kIdleLimit, whose request grows longer than kLargestRequest, or whose
    // request is empty, is answered kRefused and closed.
    void ServeRequests(const std::function<bool(std::string_view request)>& take);

private:
    using Clock = std::chrono::steady_clock;

    struct Connection {
        UniqueDescriptor socket;
        std::string request;
        Clock::time_point lastByte;
    };
    enum class Reading { Waiting, Complete, Dropped };

    // False when the system has no descriptor to spare for another connection.
    bool AcceptWaiting(Clock::time_point now);
    static Reading ReadWhatArrived(Connection& connection, Clock::time_point now);
    void WatchListener(bool watch);
    // Wakes the descriptor when the oldest silence reaches the idle limit, and after the idle
    // limit anyway when `retryAccept`.
    void ArmIdleTimer(Clock::time_point now, bool retryAccept);
    void StopListening();

    std::filesystem::path m_path;
    UniqueDescriptor m_listener;
    UniqueDescriptor m_poll;
    UniqueDescriptor m_idleTimer;
    bool m_listenerWatched = false;
    std::vector<Connection> m_connections;
    // The socket file this object made, so that it never removes one made by another.
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

}  // namespace sekreta::platform
