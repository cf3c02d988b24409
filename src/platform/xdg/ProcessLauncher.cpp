#include "platform/xdg/ProcessLauncher.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace sekreta::platform {

namespace {

// posix_spawn attributes and file actions, released however the launch ends.
class SpawnSetup {
public:
    SpawnSetup()
    {
        m_ready = ::posix_spawnattr_init(&m_attributes) == 0;
        if (m_ready && ::posix_spawn_file_actions_init(&m_actions) != 0) {
            ::posix_spawnattr_destroy(&m_attributes);
            m_ready = false;
        }
    }
    ~SpawnSetup()
    {
        if (m_ready) {
            ::posix_spawn_file_actions_destroy(&m_actions);
            ::posix_spawnattr_destroy(&m_attributes);
        }
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // A session of its own, every signal handled by default and none blocked, and standard
    // input from /dev/null: the program must not read the terminal this one was started from.
    bool Configure()
    {
        if (!m_ready)
            return false;
        sigset_t all;
        sigset_t none;
        sigfillset(&all);
        sigemptyset(&none);
        return ::posix_spawnattr_setflags(
                   &m_attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK)
            == 0
            && ::posix_spawnattr_setsigdefault(&m_attributes, &all) == 0
            && ::posix_spawnattr_setsigmask(&m_attributes, &none) == 0
            && ::posix_spawn_file_actions_addopen(&m_actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0;
    }

    const posix_spawnattr_t* Attributes() const { return &m_attributes; }
    const posix_spawn_file_actions_t* Actions() const { return &m_actions; }

private:
    posix_spawnattr_t m_attributes {};
    posix_spawn_file_actions_t m_actions {};
    bool m_ready = false;
};

void Reap(pid_t child)
{
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
}

// Waits for the program until `grace` is up and gives the verdict, then collects the program
// whenever it ends.
void Watch(pid_t child, std::chrono::milliseconds grace, const LaunchVerdict& verdict)
{
    constexpr std::chrono::milliseconds kStep(20);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) {
            verdict(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            return;
        }
        // Collected elsewhere: nothing more can be learnt of it.
        if (ended < 0 && errno != EINTR) {
            verdict(true);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(kStep);
    }
    verdict(true);
    Reap(child);
}

// The started program; nothing when it cannot be started.
std::optional<pid_t> Spawn(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments.front().empty())
        return std::nullopt;
    SpawnSetup setup;
    if (!setup.Configure())
        return std::nullopt;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    // glibc reports a failed exec (ENOENT, EACCES...) here, after collecting that child itself.
    if (::posix_spawnp(&child, argv.front(), setup.Actions(), setup.Attributes(), argv.data(), environ) != 0)
        return std::nullopt;
    return child;
}

}  // namespace

bool LaunchDetached(const std::vector<std::string>& arguments)
{
    const std::optional<pid_t> child = Spawn(arguments);
    if (!child)
        return false;
    try {
        std::thread(Reap, *child).detach();
    } catch (const std::system_error&) {
        // Without a thread to spare the child stays a zombie until this program ends: waiting
        // for it here could hold the user's window for as long as the browser stays open.
    }
    return true;
}

void LaunchWatched(const std::vector<std::string>& arguments, std::chrono::milliseconds grace, LaunchVerdict verdict)
{
    const std::optional<pid_t> child = Spawn(arguments);
    if (!child) {
        verdict(false);
        return;
    }
    try {
        std::thread(Watch, *child, grace, std::move(verdict)).detach();
    } catch (const std::system_error&) {
        // Unwatched, it counts as started, and stays a zombie as in LaunchDetached.
    }
}

}  // namespace sekreta::platform
