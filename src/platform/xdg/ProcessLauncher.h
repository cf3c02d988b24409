#pragma once

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

}  // namespace sekreta::platform
