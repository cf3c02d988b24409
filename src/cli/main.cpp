#include "cli/CommandLine.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/ProcessPrivacy.h"
#include "platform/posix/SystemRandomSource.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    sekreta::platform::MakeProcessPrivate();
    sekreta::platform::PosixFileSystem fileSystem;
    // Every real password comes from the system's cryptographic source.
    sekreta::platform::SystemRandomSource random;
    const sekreta::cli::Terminals terminals {::isatty(STDIN_FILENO) == 1, ::isatty(STDOUT_FILENO) == 1};
    sekreta::cli::CommandLine commandLine(fileSystem, random, std::cin, std::cout, std::cerr, terminals);
    return commandLine.Run(argc, argv);
}
