#pragma once

#include "cli/CommandParser.h"

#include <string>

namespace sekreta::cli {

// The manual page sekreta-cli.1, in the man macros of roff, made from the same commands,
// options and texts as the help screens, so that the two never disagree.
std::string ManPage(const CommandParser& parser);

}  // namespace sekreta::cli
