#pragma once

#include "storage/AccountRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// The records of a CSV file in a layout that KeePassXC imports ("Group", "Title", "Username",
// "Password", "URL", "Notes") or exports (the same, then "TOTP", "Icon", "Last Modified",
// "Created"). Columns are found by their header names, whatever their case and order and the
// blanks around them; "Title" and "Password" must be there, a missing other column gives empty
// fields, and unknown columns are ignored.
// Fields keep their bytes, except that a lone line feed in the notes becomes CR LF, the line
// break the desktop program's notes hold. A UTF-8 byte order mark before the header is dropped.
// Throws UsageError naming `source` when the text is no such CSV: no header row, no "Title" or
// no "Password" column, a row with another number of fields than the header, or a quoting fault.
// The message names the line and never shows a field, which could be a password.
std::vector<AccountRecord> RecordsFromCsv(std::string_view text, const std::string& source);

}  // namespace sekreta::cli
