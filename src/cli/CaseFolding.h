#pragma once

#include <string>
#include <string_view>

namespace sekreta::cli {

// Account names and search texts compared "ignoring case" as a user means it: capital and small
// letters of the Latin, Greek and Cyrillic alphabets count as the same letter.

// The valid UTF-8 text with every such capital letter made small; everything else unchanged.
std::string FoldCase(std::string_view utf8);

}  // namespace sekreta::cli
