#pragma once

#include "storage/AccountRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// The records of a JSON export of ours (RecordExport.h): an array of objects, each with the texts
// "account" and "password" and, when they are not empty, "url", "user" and "notes"; other keys
// are ignored. Texts keep their bytes, line breaks included, and the fields named under
// kWindows1252Key get back the Windows-1252 bytes they were exported from.
// Throws UsageError naming `source` when the text is not JSON, not an array of such objects, or
// a field it marks as Windows-1252 has characters that Windows-1252 lacks.
std::vector<AccountRecord> RecordsFromJson(std::string_view text, const std::string& source);

}  // namespace sekreta::cli
