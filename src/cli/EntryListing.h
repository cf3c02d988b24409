#pragma once

#include "storage/AccountRecord.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// What ls, show and search print. Entries are numbered from 1 in store order; texts that are
// not UTF-8 are shown as Windows-1252. Plain text for a terminal has its control characters
// escaped (TerminalText.h); elsewhere, and in JSON, texts are exact.

enum class OutputTarget { terminal, other };

// One line per entry at `positions`: number, account, user and URL, separated by tabs. Tabs and
// line breaks inside a field become spaces, so that every entry stays one line of four columns.
void WriteListLine(std::ostream& out, std::size_t number, const AccountRecord& record, OutputTarget target);
void WriteList(std::ostream& out, const std::vector<AccountRecord>& records, const std::vector<std::size_t>& positions,
    OutputTarget target);
// An array of objects with "index", "account", "user" and "url", one per entry at `positions`.
std::string ListJson(const std::vector<AccountRecord>& records, const std::vector<std::size_t>& positions);
// The five fields, one "Name: text" line each; the notes come last and keep their line breaks.
// A password that is not shown reads "PROTECTED".
std::string EntryText(const AccountRecord& record, bool showPassword, OutputTarget target);
// Exactly one field's text and one line feed. fieldName is one of kFieldNames. On a terminal
// the notes break lines with line feeds alone.
std::string FieldText(const AccountRecord& record, std::string_view fieldName, OutputTarget target);
// Every position of `records`, in order.
std::vector<std::size_t> AllPositions(const std::vector<AccountRecord>& records);

inline constexpr std::string_view kFieldNames[] = {"account", "url", "user", "password", "notes"};

}  // namespace sekreta::cli
