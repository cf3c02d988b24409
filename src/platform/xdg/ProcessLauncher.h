#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace sekreta::platform {

// Starts a program found on PATH with the given arguments (the first names the program) and
// does not wait for it.
using Launcher = std::function<bool(const std::vector<std::string>& arguments)>;

// Starts the program without any shell: each argument reaches it as it is, whatever characters
// it holds. The program gets its own session (closing the terminal does not end it), the
// default signal handling, and an empty standard input; it shares standard output and error.
// A thread of its own waits for it to end, so it never becomes a zombie and the caller never
// waits. False when it cannot be started: not found on PATH, not executable, no resources.
bool LaunchDetached(const std::vector<std::string>& arguments);

// Whether a watched program did its work: false when it could not be started, or ended with a
// non-zero status or by a signal within the grace time; true when it ended with status 0 or
// still runs when the grace time is up.
using LaunchVerdict = std::function<void(bool succeeded)>;

// Starts the program as LaunchDetached does; a thread of its own watches it for at most
// `grace`, gives `verdict` from that thread, and collects the program whenever it ends. When
// the program cannot be started the verdict comes at once, on the caller's thread. Without a
// thread to spare, no verdict comes.
void LaunchWatched(const std::vector<std::string>& arguments, std::chrono::milliseconds grace, LaunchVerdict verdict);

}  // namespace sekreta::platform
