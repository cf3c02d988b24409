#include "cli/CsvImport.h"

#include "cli/CsvReader.h"
#include "cli/LineBreaks.h"
#include "cli/UsageError.h"

#include <algorithm>
#include <optional>

namespace sekreta::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::size_t> FindColumn(const std::vector<std::string>& header, std::string_view name)
{
    const auto found
        = std::find_if(header.begin(), header.end(), [&](const std::string& column) { return SameName(column, name); });
    if (found == header.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - header.begin());
}

std::string Fields(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " field" : " fields");
}

std::string Trimmed(std::string_view name)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!name.empty() && isBlank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back()))
        name.remove_suffix(1);
    return std::string(name);
}

std::string FieldOf(const std::vector<std::string>& fields, std::optional<std::size_t> column)
{
    return column ? fields[*column] : std::string();
}

}  // namespace

std::vector<AccountRecord> RecordsFromCsv(std::string_view text, const std::string& source)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    std::vector<CsvReader::Row> rows = CsvReader(text, source).ReadAll();
    if (rows.empty())
        throw UsageError(source + ": the header row is missing.");

    // Spreadsheets and hand-made files pad names after the commas: "Title, Username".
    std::vector<std::string> header = rows.front().fields;
    for (std::string& name : header)
        name = Trimmed(name);
    const std::optional<std::size_t> title = FindColumn(header, "Title");
    const std::optional<std::size_t> password = FindColumn(header, "Password");
    // Without them every entry would be imported without its name or its password. The row is
    // not shown: in a file without a header row it is an entry, password and all.
    if (!title || !password) {
        const std::string missing = !title && !password ? "no \"Title\" and no \"Password\" column"
            : !title                                    ? "no \"Title\" column"
                                                        : "no \"Password\" column";
        throw UsageError(
            source + ": the header row, line " + std::to_string(rows.front().line) + ", has " + missing + ".");
    }
    const std::optional<std::size_t> username = FindColumn(header, "Username");
    const std::optional<std::size_t> url = FindColumn(header, "URL");
    const std::optional<std::size_t> notes = FindColumn(header, "Notes");

    std::vector<AccountRecord> records;
    records.reserve(rows.size() - 1);
    for (auto row = rows.begin() + 1; row != rows.end(); ++row) {
        // A row of another width means the file was cut or quoted wrongly: taking its fields by
        // position would put texts into the wrong fields.
        if (row->fields.size() != header.size())
            throw UsageError(source + ": line " + std::to_string(row->line) + " has " + Fields(row->fields.size())
                + " where the header row has " + std::to_string(header.size()) + ".");
        AccountRecord& record = records.emplace_back();
        record.account = FieldOf(row->fields, title);
        record.url = FieldOf(row->fields, url);
        record.user = FieldOf(row->fields, username);
        record.password = FieldOf(row->fields, password);
        record.notes = WindowsLineBreaks(FieldOf(row->fields, notes));
    }
    return records;
}

}  // namespace sekreta::cli
