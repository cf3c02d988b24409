#include "cli/TerminalInput.h"

#include "cli/UsageError.h"
#include "framework/CFileException.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace sekreta::cli {

namespace {

constexpr const char* kTerminalPath = "/dev/tty";

// Signals that end the program while echo is off; each puts the terminal back first.
constexpr std::array kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// A signal handler can reach only static data.
int g_echoDescriptor = -1;
termios g_echoSettings {};

void RestoreAndEnd(int signalNumber)
{
    ::tcsetattr(g_echoDescriptor, TCSAFLUSH, &g_echoSettings);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

// Echo off from construction to destruction.
class EchoOff {
public:
    explicit EchoOff(int descriptor)
        : m_descriptor(descriptor)
    {
        if (::tcgetattr(descriptor, &m_saved) != 0)
            throw CFileException::FromError({errno, std::generic_category()}, kTerminalPath);
        g_echoDescriptor = descriptor;
        g_echoSettings = m_saved;
        struct sigaction action { };
        action.sa_handler = RestoreAndEnd;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
            ::sigaction(kEndingSignals[i], &action, &m_oldActions[i]);

        termios silent = m_saved;
        // ECHONL still shows the line break, so the next output starts on a line of its own.
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        // Flushing drops type-ahead, which would otherwise have been echoed.
        ::tcsetattr(descriptor, TCSAFLUSH, &silent);
    }
    ~EchoOff()
    {
        ::tcsetattr(m_descriptor, TCSAFLUSH, &m_saved);
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
            ::sigaction(kEndingSignals[i], &m_oldActions[i], nullptr);
        g_echoDescriptor = -1;
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int m_descriptor;
    termios m_saved {};
    std::array<struct sigaction, kEndingSignals.size()> m_oldActions {};
};

void WriteAll(int descriptor, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw CFileException::FromError({errno, std::generic_category()}, kTerminalPath);
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace

TerminalInput::TerminalInput()
{
    m_descriptor = ::open(kTerminalPath, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_descriptor < 0)
        throw UsageError("The terminal cannot be opened: give the pass phrase as the first line of standard input with "
                         "--passphrase-stdin.");
}

TerminalInput::~TerminalInput()
{
    ::close(m_descriptor);
}

std::optional<std::string> TerminalInput::ReadHidden(std::string_view prompt)
{
    const EchoOff echoOff(m_descriptor);
    WriteAll(m_descriptor, prompt);
    std::string line;
    for (;;) {
        char c = 0;
        const ssize_t got = ::read(m_descriptor, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw CFileException::FromError({errno, std::generic_category()}, kTerminalPath);
        if (got == 0) {
            if (line.empty())
                return std::nullopt;
            break;
        }
        if (c == '\n')
            break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace sekreta::cli
