#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sekreta::cli {

// The user's terminal, for secrets typed without echo.
class TerminalInput {
public:
    // Opens the controlling terminal. Throws UsageError when the process has none.
    TerminalInput();
    ~TerminalInput();
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    // Shows the prompt and reads one line while the terminal does not echo it; the terminal's
    // settings come back on every path out, a signal included. Nothing when the user ends the
    // input (Ctrl+D). Throws CFileException when the terminal fails.
    std::optional<std::string> ReadHidden(std::string_view prompt);

private:
    int m_descriptor = -1;
};

}  // namespace sekreta::cli
