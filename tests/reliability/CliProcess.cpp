#include "CliProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sekreta::test {

namespace {

constexpr std::size_t kPipeCapacity = 65536;

class Descriptor {
public:
    explicit Descriptor(int descriptor = -1)
        : m_descriptor(descriptor)
    {
    }
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_descriptor; }
    void Close()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = -1;
    }

private:
    int m_descriptor;
};

struct Pipe {
    Pipe()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        read = std::make_unique<Descriptor>(ends[0]);
        write = std::make_unique<Descriptor>(ends[1]);
    }
    std::unique_ptr<Descriptor> read;
    std::unique_ptr<Descriptor> write;
};

std::vector<std::string> Environment(const std::vector<std::string>& extra)
{
    std::vector<std::string> entries(extra);
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& added : extra)
            replaced = replaced || added.starts_with(name);
        if (!replaced)
            entries.push_back(text);
    }
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts the program with its standard streams on the given descriptors; the input is written
// and the pipe closed at once.
pid_t Spawn(const CliRun& run, int out, int err)
{
    if (run.input.size() >= kPipeCapacity)
        throw std::invalid_argument("more input than a pipe holds");
    std::vector<std::string> command {SEKRETA_CLI_PATH};
    command.insert(command.end(), run.arguments.begin(), run.arguments.end());
    std::vector<std::string> environment = Environment(run.environment);
    std::vector<char*> argv = Pointers(command);
    std::vector<char*> envp = Pointers(environment);

    // The child learns of a closed standard input by EOF, and the test must not die of SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    Pipe in;
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("fork");
    if (child == 0) {
        ::dup2(in.read->Get(), STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        if (run.fileSizeLimit) {
            // Ignored, the signal leaves the write failing with EFBIG, as a full disk would.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit {*run.fileSizeLimit, *run.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    in.read->Close();
    std::size_t written = 0;
    while (written < run.input.size()) {
        const ssize_t sent = ::write(in.write->Get(), run.input.data() + written, run.input.size() - written);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            break;
        written += static_cast<std::size_t>(sent);
    }
    return child;
}

CliResult Reap(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    CliResult result;
    if (WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        result.signal = WTERMSIG(status);
    return result;
}

}  // namespace

CliResult RunCli(const CliRun& run)
{
    Pipe out, err;
    const pid_t child = Spawn(run, out.write->Get(), err.write->Get());
    out.write->Close();
    err.write->Close();

    std::string outText, errText;
    std::array<std::pair<Descriptor*, std::string*>, 2> streams {
        std::pair {out.read.get(), &outText}, std::pair {err.read.get(), &errText}};
    while (out.read->Get() >= 0 || err.read->Get() >= 0) {
        std::array<pollfd, 2> watched {pollfd {out.read->Get(), POLLIN, 0}, pollfd {err.read->Get(), POLLIN, 0}};
        if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR)
            throw std::runtime_error("poll");
        for (std::size_t i = 0; i < streams.size(); ++i) {
            if (watched[i].revents == 0)
                continue;
            char buffer[65536];
            const ssize_t got = ::read(streams[i].first->Get(), buffer, sizeof buffer);
            if (got > 0)
                streams[i].second->append(buffer, static_cast<std::size_t>(got));
            else if (got == 0 || errno != EINTR)
                streams[i].first->Close();
        }
    }
    CliResult result = Reap(child);
    result.out = std::move(outText);
    result.err = std::move(errText);
    return result;
}

StartedCli::StartedCli(const CliRun& run)
{
    const Descriptor nothing(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    m_pid = Spawn(run, nothing.Get(), nothing.Get());
}

StartedCli::~StartedCli()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        Reap(m_pid);
    }
}

void StartedCli::Kill(int signal)
{
    ::kill(m_pid, signal);
}

CliResult StartedCli::Wait()
{
    const CliResult result = Reap(m_pid);
    m_pid = -1;
    return result;
}

std::vector<std::string> FailingCallsEnvironment(const std::string& failures, const std::string& traceFile)
{
    std::vector<std::string> entries {
        std::string("LD_PRELOAD=") + SEKRETA_FAILING_CALLS_PATH, "SEKRETA_FAIL_CALL=" + failures};
    if (!traceFile.empty())
        entries.push_back("SEKRETA_TRACE_CALLS=" + traceFile);
    // A sanitized program wants its runtime loaded first; the preloaded library comes before it.
    const char* asan = std::getenv("ASAN_OPTIONS");
    entries.push_back(
        std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0");
    return entries;
}

}  // namespace sekreta::test
