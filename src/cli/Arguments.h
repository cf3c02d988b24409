#pragma once

#include <optional>
#include <string>

namespace sekreta::cli {

// Everything the command line can say; each command reads the members it offers.
struct Arguments {
    std::string file;
    std::string index;
    bool passPhraseFromStdin = false;

    bool force = false;  // new
    bool json = false;  // ls
    std::string field;  // show; empty for all five

    // add and edit: a field is changed only when its option was given.
    std::optional<std::string> account;
    std::optional<std::string> url;
    std::optional<std::string> user;
    std::optional<std::string> notes;
    bool passwordFromStdin = false;
    bool generate = false;

    // generate, and add and edit with --generate; numbers stay texts until the command reads them.
    std::string length = "8";
    bool lower = false;
    bool upper = false;
    bool digits = false;
    std::string count = "1";

    std::string format = "json";  // export
    std::string output;  // export; empty for standard output
    std::string from;  // import
};

}  // namespace sekreta::cli
