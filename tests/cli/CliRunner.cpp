#include "CliRunner.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace sekreta::test {

namespace {

struct Pipe {
    Pipe()
    {
        if (::pipe2(ends.data(), O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
    }
    ~Pipe()
    {
        CloseRead();
        CloseWrite();
    }
    void CloseRead() { Close(ends[0]); }
    void CloseWrite() { Close(ends[1]); }
    static void Close(int& descriptor)
    {
        if (descriptor >= 0)
            ::close(descriptor);
        descriptor = -1;
    }
    std::array<int, 2> ends {};
};

}  // namespace

CliResult RunCli(
    const std::vector<std::string>& arguments, const std::string& input, const std::vector<std::string>& prefix)
{
    std::vector<std::string> command = prefix;
    command.push_back(SEKRETA_CLI_PATH);
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The child learns of a closed standard input by EOF, and the test must not die of SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    Pipe in, out, err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.ends[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.ends[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + command.front());
    in.CloseRead();
    out.CloseWrite();
    err.CloseWrite();

    CliResult result;
    std::size_t written = 0;
    if (input.empty())
        in.CloseWrite();
    while (out.ends[0] >= 0 || err.ends[0] >= 0) {
        std::array<pollfd, 3> watched
            = {pollfd {out.ends[0], POLLIN, 0}, pollfd {err.ends[0], POLLIN, 0}, pollfd {in.ends[1], POLLOUT, 0}};
        if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR)
            throw std::runtime_error("poll");
        if (watched[2].revents != 0) {
            const ssize_t sent = ::write(in.ends[1], input.data() + written, input.size() - written);
            written += sent > 0 ? static_cast<std::size_t>(sent) : 0;
            if (sent < 0 || written == input.size())
                in.CloseWrite();
        }
        for (auto [pipe, text] : {std::pair {&out, &result.out}, std::pair {&err, &result.err}}) {
            const pollfd& state = pipe == &out ? watched[0] : watched[1];
            if (state.revents == 0)
                continue;
            char buffer[65536];
            const ssize_t got = ::read(pipe->ends[0], buffer, sizeof buffer);
            if (got > 0)
                text->append(buffer, static_cast<std::size_t>(got));
            else
                pipe->CloseRead();
        }
    }
    in.CloseWrite();
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace sekreta::test
