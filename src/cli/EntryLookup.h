#pragma once

#include "storage/AccountRecord.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// The entry a command argument means. An argument of digits alone is an entry's number, from 1
// as ls shows it. Anything else is an account name: the entries whose account is exactly that
// text, else those equal to it ignoring case, else those that start with it ignoring case; the
// first of these that is not empty must hold exactly one entry.
// Returns the entry's 0-based position. Throws UsageError when no entry has that number or
// name, and, listing the candidates as ls does, when a name could mean several entries.
std::size_t FindEntry(std::string_view argument, const std::vector<AccountRecord>& records);

// The positions of the entries whose account, user, URL or notes contain `text`, ignoring case.
std::vector<std::size_t> FindContaining(std::string_view text, const std::vector<AccountRecord>& records);

}  // namespace sekreta::cli
