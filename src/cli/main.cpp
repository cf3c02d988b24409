#include "cli/CommandLine.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemRandomSource.h"

#include <iostream>

int main(int argc, char** argv)
{
    sekreta::platform::PosixFileSystem fileSystem;
    // Every real password comes from the system's cryptographic source.
    sekreta::platform::SystemRandomSource random;
    sekreta::cli::CommandLine commandLine(fileSystem, random, std::cin, std::cout, std::cerr);
    return commandLine.Run(argc, argv);
}
