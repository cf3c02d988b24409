#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace sekreta::platform {

// One running program per user: the first start listens on a local socket, a later start
// hands it a request, such as [open("/home/me/Letters.sek")], and ends.
//
// The socket lives in a folder that only this user can enter, and both sides check that the
// other is this user: nobody else can send requests, and no request is handed to a program
// of somebody else. A socket left by a program that crashed answers no connection; the next
// start replaces it.
//
// How main uses it:
//   const auto path = SingleInstance::UserSocketPath();       // nothing: run without it
//   SingleInstance instance(*path);
//   if (fileNamed && instance.HandOver(request)) return 0;    // the running program took it
//   instance.Listen();                                        // false: run without it
//   watch instance.Descriptor() for reading (QSocketNotifier); on each activation:
//     if (auto request = instance.ReceiveRequest()) hand *request to the frame's parser.
// The object stops listening and removes its socket when destroyed.
class SingleInstance {
public:
    // Longest request taken, and how long a connection may take to send it.
    static constexpr std::size_t kLargestRequest = 64 * 1024;
    static constexpr int kRequestMilliseconds = 1000;

    // The socket of this user's running program: $XDG_RUNTIME_DIR/sekreta/instance, or
    // sekreta-UID/instance in the temporary folder when $XDG_RUNTIME_DIR is unset. The folder
    // is created, readable by this user alone, when missing. Nothing when it cannot be made,
    // or when it exists but is not a folder of this user's that no one else may enter.
    static std::optional<std::filesystem::path> UserSocketPath();

    explicit SingleInstance(std::filesystem::path socketPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Sends the request to the program listening on the socket and closes the connection.
    // True when the whole request was sent to a program of this user. False when none
    // listens (no socket, a stale one), when the socket or its folder is not this user's
    // alone, when the listener is another user's, or when it does not take the request
    // within a few seconds.
    bool HandOver(std::string_view request) const;

    // Starts listening, in place of a stale socket that this user left. False when another
    // program listens already, when something at the socket's path is not this user's
    // private socket (it is left alone), or when the socket cannot be made.
    bool Listen();
    // The listening socket, readable when a request waits; -1 when not listening. Only for
    // watching: ReceiveRequest does the reading.
    int Descriptor() const { return m_listener; }
    // Takes one waiting connection and reads its request: all it sends before it closes.
    // Never waits for a connection; waits at most kRequestMilliseconds for its request.
    // Nothing when no connection waits, the peer is not this user, or the request is
    // empty, longer than kLargestRequest or not complete in time.
    std::optional<std::string> ReceiveRequest();

private:
    void StopListening();

    std::filesystem::path m_path;
    int m_listener = -1;
    // The socket file this object made, so that it never removes one made by another.
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

}  // namespace sekreta::platform
