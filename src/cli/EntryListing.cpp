#include "cli/EntryListing.h"

#include "cli/LineBreaks.h"
#include "cli/TerminalText.h"
#include "platform/TextEncoding.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace sekreta::cli {

namespace {

std::string OneLine(std::string_view bytes, OutputTarget target)
{
    std::string text = platform::DisplayText(bytes);
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return target == OutputTarget::terminal ? EscapeControls(text, false) : text;
}

// Printable ASCII, by far the most common field, needs neither conversion nor escapes and is
// written as it is; a large file lists without copying every field.
void WriteOneLine(std::ostream& out, std::string_view bytes, OutputTarget target)
{
    if (std::ranges::all_of(bytes, [](char c) { return c >= 0x20 && c < 0x7F; }))
        out << bytes;
    else
        out << OneLine(bytes, target);
}

// Text with line breaks, as a terminal shows it.
std::string TerminalLines(std::string_view bytes)
{
    return EscapeControls(UnixLineBreaks(platform::DisplayText(bytes)), true);
}

std::string Labelled(std::string_view label, const std::string& text)
{
    std::string line(label);
    line += ':';
    if (!text.empty())
        line += ' ' + text;
    line += '\n';
    return line;
}

const std::string& Field(const AccountRecord& record, std::string_view fieldName)
{
    return fieldName == "account" ? record.account
        : fieldName == "url"      ? record.url
        : fieldName == "user"     ? record.user
        : fieldName == "password" ? record.password
                                  : record.notes;
}

}  // namespace

void WriteListLine(std::ostream& out, std::size_t number, const AccountRecord& record, OutputTarget target)
{
    out << number << '\t';
    WriteOneLine(out, record.account, target);
    out << '\t';
    WriteOneLine(out, record.user, target);
    out << '\t';
    WriteOneLine(out, record.url, target);
    out << '\n';
}

void WriteList(std::ostream& out, const std::vector<AccountRecord>& records, const std::vector<std::size_t>& positions,
    OutputTarget target)
{
    for (const std::size_t i : positions)
        WriteListLine(out, i + 1, records[i], target);
}

std::string ListJson(const std::vector<AccountRecord>& records, const std::vector<std::size_t>& positions)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const std::size_t i : positions) {
        list.push_back({
            {"index", i + 1},
            {"account", platform::DisplayText(records[i].account)},
            {"user", platform::DisplayText(records[i].user)},
            {"url", platform::DisplayText(records[i].url)},
        });
    }
    return list.dump(2) + '\n';
}

std::string EntryText(const AccountRecord& record, bool showPassword, OutputTarget target)
{
    const std::string password
        = showPassword || record.password.empty() ? OneLine(record.password, target) : "PROTECTED";
    const std::string notes = target == OutputTarget::terminal ? TerminalLines(record.notes)
                                                               : UnixLineBreaks(platform::DisplayText(record.notes));
    return Labelled("Account", OneLine(record.account, target)) + Labelled("URL", OneLine(record.url, target))
        + Labelled("User", OneLine(record.user, target)) + Labelled("Password", password) + Labelled("Notes", notes);
}

std::string FieldText(const AccountRecord& record, std::string_view fieldName, OutputTarget target)
{
    const std::string& field = Field(record, fieldName);
    if (target == OutputTarget::terminal)
        return TerminalLines(field) + '\n';
    return platform::DisplayText(field) + '\n';
}

std::vector<std::size_t> AllPositions(const std::vector<AccountRecord>& records)
{
    std::vector<std::size_t> positions(records.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    return positions;
}

}  // namespace sekreta::cli
