#include "cli/JsonImport.h"

#include "cli/RecordExport.h"
#include "cli/UsageError.h"
#include "platform/TextEncoding.h"

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

namespace sekreta::cli {

namespace {

// The bytes whose Windows-1252 reading is `utf8`; every byte has one, the five that
// Windows-1252 leaves undefined included, so an export's texts always come back.
std::optional<std::string> Windows1252Bytes(std::string_view utf8)
{
    static const std::map<std::string, char, std::less<>> bytes = [] {
        std::map<std::string, char, std::less<>> table;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            table.emplace(platform::Windows1252ToUtf8(one), one.front());
        }
        return table;
    }();
    std::string result;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<std::uint8_t>(utf8[i]);
        if (lead < 0x80) {
            result += utf8[i++];
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const auto found = bytes.find(utf8.substr(i, length));
        if (found == bytes.end())
            return std::nullopt;
        result += found->second;
        i += length;
    }
    return result;
}

class EntryReader {
public:
    EntryReader(const nlohmann::json& entry, std::string where)
        : m_entry(entry)
        , m_where(std::move(where))
    {
        if (!m_entry.is_object())
            throw UsageError(m_where + " is not an object.");
    }

    std::string Text(const char* name, bool required) const
    {
        const auto found = m_entry.find(name);
        if (found == m_entry.end()) {
            if (required)
                throw UsageError(m_where + " has no \"" + name + "\".");
            return {};
        }
        if (!found->is_string())
            throw UsageError(m_where + ": \"" + name + "\" is not a text.");
        std::string text = found->get<std::string>();
        if (!IsWindows1252(name))
            return text;
        std::optional<std::string> bytes = Windows1252Bytes(text);
        if (!bytes)
            throw UsageError(m_where + ": \"" + name + "\" has characters that Windows-1252 lacks.");
        return std::move(*bytes);
    }

private:
    bool IsWindows1252(const char* name) const
    {
        const auto marked = m_entry.find(kWindows1252Key);
        if (marked == m_entry.end())
            return false;
        if (!marked->is_array())
            throw UsageError(m_where + ": \"" + std::string(kWindows1252Key) + "\" is not a list of field names.");
        for (const nlohmann::json& field : *marked) {
            if (field == name)
                return true;
        }
        return false;
    }

    const nlohmann::json& m_entry;
    std::string m_where;
};

}  // namespace

std::vector<AccountRecord> RecordsFromJson(std::string_view text, const std::string& source)
{
    nlohmann::json list;
    try {
        list = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& error) {
        throw UsageError(source + ": this is not JSON (byte " + std::to_string(error.byte) + ").");
    } catch (const nlohmann::json::out_of_range&) {
        // Our exports hold no numbers; one too large for the parser is no export of ours.
        throw UsageError(source + ": this JSON holds a number too large to read.");
    }
    if (!list.is_array())
        throw UsageError(source + ": the JSON is not a list of entries.");

    std::vector<AccountRecord> records;
    records.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const EntryReader entry(list[i], source + ": entry " + std::to_string(i + 1));
        records.push_back({entry.Text("account", true), entry.Text("url", false), entry.Text("user", false),
            entry.Text("password", true), entry.Text("notes", false)});
    }
    return records;
}

}  // namespace sekreta::cli
