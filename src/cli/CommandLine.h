#pragma once

#include "platform/FileSystem.h"
#include "platform/RandomSource.h"

#include <istream>
#include <ostream>

namespace sekreta::cli {

// Which of the standard streams are the user's terminal.
struct Terminals {
    bool input = false;
    bool output = false;
};

// sekreta-cli as a whole: reads the command line with CLI11, runs the command, and turns every
// failure into one message on the error stream, starting "sekreta-cli: ", and the exit status
// of ExitStatus.h.
class CommandLine {
public:
    // All five references must outlive the object; `in` is standard input.
    CommandLine(platform::FileSystem& fileSystem, platform::RandomSource& random, std::istream& in, std::ostream& out,
        std::ostream& err, Terminals terminals);

    // Runs the command that argv names and returns the exit status; throws nothing.
    int Run(int argc, const char* const* argv);

private:
    // Runs the command; returns the exit status that CLI11 gives for help, the version and
    // mistakes on the command line, and throws for everything else that fails.
    int RunCommand(int argc, const char* const* argv);

    platform::FileSystem& m_fileSystem;
    platform::RandomSource& m_random;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
    Terminals m_terminals;
};

}  // namespace sekreta::cli
