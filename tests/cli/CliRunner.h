#pragma once

#include <string>
#include <vector>

namespace sekreta::test {

struct CliResult {
    int status = -1;  // the exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs the real sekreta-cli with `arguments`, feeds it `input` on standard input (then closes
// it) and collects both output streams. `prefix` goes before the program, e.g. a setpriv call.
CliResult RunCli(const std::vector<std::string>& arguments, const std::string& input = {},
    const std::vector<std::string>& prefix = {});

}  // namespace sekreta::test
