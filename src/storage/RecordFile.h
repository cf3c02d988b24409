#pragma once

#include "framework/CArchive.h"
#include "storage/AccountRecord.h"

#include <string_view>
#include <vector>

namespace sekreta {

// The .sek file: "Sekreta", version 1 and the region length in the clear, then the region,
// which holds "Sekreta", the record count and each record's five texts, padded with zeros to a
// multiple of 8 and encrypted under the pass phrase.

// Writes the whole file. The pass phrase must not be empty. Throws CArchiveException with
// genericException when the records are more than one file can hold (2 GB), and what the
// archive's file throws.
void StoreRecords(CArchive& archive, const std::vector<AccountRecord>& records, std::string_view passPhrase);

// Appends the file's records to `records`. Throws CArchiveException with badIndex for a foreign
// header, another version, an impossible region length or a wrong pass phrase, and with
// endOfFile where the data ends inside a value; file failures throw CFileException. On failure
// `records` holds whatever was read so far.
void LoadRecords(CArchive& archive, std::vector<AccountRecord>& records, std::string_view passPhrase);

}  // namespace sekreta
