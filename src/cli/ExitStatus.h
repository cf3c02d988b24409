#pragma once

namespace sekreta::cli {

// What sekreta-cli tells the shell; scripts depend on these numbers.
enum ExitStatus : int {
    kSuccess = 0,
    kUsageError = 1,  // the command line, an entry number, a pass phrase prompt or an input file was wrong
    kBadFormat = 2,  // not a Sekreta file, or the wrong pass phrase
    kFileFailure = 3,  // a file could not be read or written, or the system failed
};

}  // namespace sekreta::cli
