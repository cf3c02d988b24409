#pragma once

#include "storage/AccountRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// What ls and show print. Entries are numbered from 1 in store order; texts that are not UTF-8
// are shown as Windows-1252.

// One line per entry: number, account, user and URL, separated by tabs. Tabs and line breaks
// inside a field become spaces, so that every entry stays one line of four columns.
std::string ListText(const std::vector<AccountRecord>& records);
// An array of objects with "index", "account", "user" and "url".
std::string ListJson(const std::vector<AccountRecord>& records);
// The five fields, one "Name: text" line each; the notes come last and keep their line breaks.
std::string EntryText(const AccountRecord& record);
// Exactly one field's text and one line feed. fieldName is one of kFieldNames.
std::string FieldText(const AccountRecord& record, std::string_view fieldName);

inline constexpr std::string_view kFieldNames[] = {"account", "url", "user", "password", "notes"};

}  // namespace sekreta::cli
