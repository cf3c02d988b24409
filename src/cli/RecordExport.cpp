#include "cli/RecordExport.h"

#include "platform/TextEncoding.h"

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string_view>
#include <utility>

namespace sekreta::cli {

namespace {

void AppendCsvRow(std::string& csv, std::initializer_list<std::string_view> fields)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            csv += ',';
        first = false;
        csv += '"';
        for (const char c : field) {
            if (c == '"')
                csv += '"';
            csv += c;
        }
        csv += '"';
    }
    csv += "\r\n";
}

nlohmann::ordered_json EntryObject(const AccountRecord& record, bool withPassword)
{
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    nlohmann::ordered_json windows1252 = nlohmann::ordered_json::array();
    const std::pair<const char*, const std::string*> fields[] = {{"account", &record.account}, {"url", &record.url},
        {"user", &record.user}, {"password", &record.password}, {"notes", &record.notes}};
    for (const auto& [name, text] : fields) {
        if (!withPassword && text == &record.password)
            continue;
        object[name] = platform::DisplayText(*text);
        if (!platform::IsValidUtf8(*text))
            windows1252.push_back(name);
    }
    if (!windows1252.empty())
        object[std::string(kWindows1252Key)] = std::move(windows1252);
    return object;
}

}  // namespace

std::string EntryJson(const AccountRecord& record, bool withPassword)
{
    return EntryObject(record, withPassword).dump(2) + '\n';
}

std::string ExportJson(const std::vector<AccountRecord>& records)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const AccountRecord& record : records)
        list.push_back(EntryObject(record, true));
    return list.dump(2) + '\n';
}

std::string ExportCsv(const std::vector<AccountRecord>& records)
{
    std::string csv;
    AppendCsvRow(csv, {"Group", "Title", "Username", "Password", "URL", "Notes"});
    for (const AccountRecord& record : records) {
        AppendCsvRow(csv,
            {"", platform::DisplayText(record.account), platform::DisplayText(record.user),
                platform::DisplayText(record.password), platform::DisplayText(record.url),
                platform::DisplayText(record.notes)});
    }
    return csv;
}

}  // namespace sekreta::cli
