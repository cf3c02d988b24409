#pragma once

#include "storage/AccountRecord.h"

#include <string>
#include <vector>

namespace sekreta::cli {

// Whole stores for other password managers, in store order. Texts that are not UTF-8 are
// written as the Windows-1252 they are read as; all others keep their bytes, line breaks included.

// An array of objects with "account", "url", "user", "password" and "notes".
std::string ExportJson(const std::vector<AccountRecord>& records);
// RFC 4180 in the layout KeePassXC imports: the header "Group","Title","Username","Password",
// "URL","Notes", then one row per entry with an empty group; every field quoted, rows ended by CR LF.
std::string ExportCsv(const std::vector<AccountRecord>& records);

}  // namespace sekreta::cli
