#pragma once

#include "framework/CArchive.h"
#include "storage/AccountRecord.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta {

// The .sek file: "Sekreta", version 1 and the region length in the clear, then the region,
// which holds "Sekreta", the record count and each record's five texts, padded with zeros to a
// multiple of 8 and encrypted under the pass phrase.

// Writes the whole file. Throws std::invalid_argument for an empty pass phrase, which would
// give a key of zeros; CArchiveException with genericException when the records are more than
// one file can hold (2 GB); and what the archive's file throws.
void StoreRecords(CArchive& archive, const std::vector<AccountRecord>& records, std::string_view passPhrase);

// Appends the file's records to `records` and returns the pass phrase that opened it. A pass
// phrase typed here is UTF-8, while a file written on Windows is encrypted under the phrase's
// Windows-1252 bytes: when the file does not open under `passPhrase` and the phrase has the
// other form (OtherPassPhraseForm), the file is tried once more under it, and that form is
// returned if it opens the file.
// Throws CArchiveException with badIndex for a foreign header, another version, an impossible
// region length or a wrong pass phrase, and with endOfFile where the data ends inside a value;
// file failures throw CFileException. On failure `records` holds whatever was read so far.
std::string LoadRecords(CArchive& archive, std::vector<AccountRecord>& records, std::string_view passPhrase);

// Reads the file as LoadRecords does, but hands each record to `visit` in file order instead of
// keeping them all: a reader that needs one record at a time holds only one. On failure the
// records before it have been visited.
std::string VisitRecords(
    CArchive& archive, std::string_view passPhrase, const std::function<void(const AccountRecord&)>& visit);

}  // namespace sekreta
