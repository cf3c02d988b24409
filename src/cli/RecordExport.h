#pragma once

#include "storage/AccountRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// Whole stores for other password managers, in store order. Texts that are not UTF-8 are
// written as the Windows-1252 they are read as; all others keep their bytes, line breaks included.

// The key of an entry's JSON object that lists its fields whose bytes are Windows-1252 (texts
// from files written on Windows), so that an import can give them back their exact bytes.
// It is there only when there is such a field.
inline constexpr std::string_view kWindows1252Key = "windows-1252";

// One entry as an object with "account", "url", "user", "password" and "notes", and
// kWindows1252Key when needed. Without withPassword, the password is left out.
std::string EntryJson(const AccountRecord& record, bool withPassword);
// An array of EntryJson objects, passwords included.
std::string ExportJson(const std::vector<AccountRecord>& records);
// RFC 4180 in the layout KeePassXC imports: the header "Group","Title","Username","Password",
// "URL","Notes", then one row per entry with an empty group; every field quoted, rows ended by CR LF.
std::string ExportCsv(const std::vector<AccountRecord>& records);

}  // namespace sekreta::cli
