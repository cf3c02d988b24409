#pragma once

#include "platform/FileSystem.h"
#include "platform/RandomSource.h"

#include <istream>
#include <ostream>

namespace sekreta::cli {

// sekreta-cli as a whole: reads the command line with CLI11, runs the command, and turns every
// failure into one message on the error stream and the exit status of ExitStatus.h.
class CommandLine {
public:
    // All five must outlive the object; `in` is standard input, read line by line.
    CommandLine(platform::FileSystem& fileSystem, platform::RandomSource& random, std::istream& in, std::ostream& out,
        std::ostream& err);

    // Runs the command that argv names and returns the exit status; throws nothing.
    int Run(int argc, const char* const* argv);

private:
    platform::FileSystem& m_fileSystem;
    platform::RandomSource& m_random;
    std::istream& m_in;
    std::ostream& m_out;
    std::ostream& m_err;
};

}  // namespace sekreta::cli
