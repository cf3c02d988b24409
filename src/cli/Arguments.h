#pragma once

#include <optional>
#include <string>

namespace sekreta::cli {

// Everything the command line can say; each command reads the members it offers.
struct Arguments {
    std::string file;
    std::string entry;  // show, edit, rm: a number or an account name (EntryLookup.h)
    bool passPhraseFromStdin = false;

    bool force = false;  // new, export
    bool json = false;  // ls, show, search
    std::string field;  // show; empty for all five
    bool showPassword = false;  // show
    std::string text;  // search
    std::string command;  // help; empty for the program's own help

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
    std::string output;  // export; empty or "-" for standard output
    std::string from;  // import; "-" for standard input
    std::string importFormat = "csv";  // import
};

// The name that stands for standard input or output in place of a file.
inline constexpr const char* kStandardStream = "-";

}  // namespace sekreta::cli
