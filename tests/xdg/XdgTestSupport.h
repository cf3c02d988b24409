#pragma once

#include "support/TemporaryFolder.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace sekreta::test {

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

inline std::string ReadText(const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

inline void WriteText(const std::filesystem::path& path, std::string_view text)
{
    std::filesystem::create_directories(path.parent_path());
    WriteBytes(path, {text.begin(), text.end()});
}

// An executable shell script, for a program that stands in for a desktop tool.
inline void WriteScript(const std::filesystem::path& path, const std::string& body)
{
    WriteText(path, "#!/bin/sh\n" + body);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

struct Finished {
    int status = -1;  // the exit status; -1 when it could not be started or was killed
    std::string output;  // what it wrote to standard output
};

// Runs a program from PATH to its end, with the test's environment.
inline Finished RunToEnd(const std::vector<std::string>& arguments, const TemporaryFolder& scratch)
{
    const std::filesystem::path output = scratch / "output";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    Finished finished;
    if (::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        finished.output = ReadText(output);
    }
    posix_spawn_file_actions_destroy(&actions);
    return finished;
}

inline bool OnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::string_view list = path ? path : "";
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::filesystem::path candidate = std::filesystem::path(list.substr(0, colon)) / program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return false;
}

// Waits for something that another process does; false when it has not happened after a
// generous while. Only a bound against hanging, never a measure of speed.
inline bool Eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace sekreta::test
