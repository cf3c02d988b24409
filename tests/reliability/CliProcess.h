#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace sekreta::test {

// One start of the real sekreta-cli.
struct CliRun {
    std::vector<std::string> arguments;
    // Fed on standard input, which is then closed; less than a pipe holds.
    std::string input;
    // NAME=value, over the test's own environment.
    std::vector<std::string> environment;
    // The largest file the program may write (RLIMIT_FSIZE); going beyond fails with EFBIG.
    std::optional<std::uint64_t> fileSizeLimit;
};

struct CliResult {
    int status = -1;  // the exit status, or -1 when a signal ended the program
    int signal = 0;  // the signal that ended it, or 0
    std::string out;
    std::string err;
};

// Runs the program to its end and collects both output streams.
CliResult RunCli(const CliRun& run);

// The program running on its own, its output thrown away; killed or waited for by the test.
class StartedCli {
public:
    explicit StartedCli(const CliRun& run);
    ~StartedCli();
    StartedCli(const StartedCli&) = delete;
    StartedCli& operator=(const StartedCli&) = delete;

    // Sends the signal to the program itself.
    void Kill(int signal);
    // Waits for the end; the result has no output.
    CliResult Wait();

private:
    pid_t m_pid = -1;
};

// The environment entry that preloads the library making chosen system calls fail (see
// FailingCalls.cpp), with what a sanitized build needs to accept it.
std::vector<std::string> FailingCallsEnvironment(const std::string& failures, const std::string& traceFile = {});

}  // namespace sekreta::test
