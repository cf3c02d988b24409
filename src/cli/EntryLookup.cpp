#include "cli/EntryLookup.h"

#include "cli/CaseFolding.h"
#include "cli/EntryListing.h"
#include "cli/TerminalText.h"
#include "cli/UsageError.h"
#include "framework/UnsignedText.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>

namespace sekreta::cli {

namespace {

std::string Entries(std::size_t count)
{
    return count == 0 ? "no entries" : count == 1 ? "1 entry" : std::to_string(count) + " entries";
}

std::size_t ByNumber(std::string_view argument, const std::vector<AccountRecord>& records)
{
    // Too many digits for any number still make a number, just one that no entry has.
    const std::uint64_t number = ParseUnsigned(argument).value_or(0);
    if (number >= 1 && number <= records.size())
        return static_cast<std::size_t>(number - 1);
    throw UsageError("There is no entry " + std::string(argument) + ": the file has " + Entries(records.size()) + ".");
}

std::vector<std::size_t> Matching(
    const std::vector<AccountRecord>& records, const std::function<bool(const std::string&)>& matches)
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (matches(platform::DisplayText(records[i].account)))
            positions.push_back(i);
    }
    return positions;
}

}  // namespace

std::size_t FindEntry(std::string_view argument, const std::vector<AccountRecord>& records)
{
    if (!argument.empty() && std::all_of(argument.begin(), argument.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return ByNumber(argument, records);

    const std::string name = platform::DisplayText(argument);
    const std::string folded = FoldCase(name);
    std::vector<std::size_t> found = Matching(records, [&](const std::string& account) { return account == name; });
    if (found.empty())
        found = Matching(records, [&](const std::string& account) { return FoldCase(account) == folded; });
    if (found.empty())
        found = Matching(records, [&](const std::string& account) { return FoldCase(account).starts_with(folded); });

    // The name goes to the terminal in the message, so it is shown with its controls escaped.
    std::string shown = "\"";
    shown += EscapeControls(name, false);
    shown += '"';
    if (found.empty())
        throw UsageError("There is no entry named " + shown + ".");
    if (found.size() > 1) {
        std::ostringstream candidates;
        WriteList(candidates, records, found, OutputTarget::terminal);
        const std::string lines = candidates.str();
        throw UsageError(shown + " could mean any of these entries:\n" + lines.substr(0, lines.size() - 1));
    }
    return found.front();
}

std::vector<std::size_t> FindContaining(std::string_view text, const std::vector<AccountRecord>& records)
{
    const std::string folded = FoldCase(platform::DisplayText(text));
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const AccountRecord& record = records[i];
        for (const std::string* field : {&record.account, &record.user, &record.url, &record.notes}) {
            if (FoldCase(platform::DisplayText(*field)).find(folded) != std::string::npos) {
                positions.push_back(i);
                break;
            }
        }
    }
    return positions;
}

}  // namespace sekreta::cli
