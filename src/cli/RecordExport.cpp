#include "cli/RecordExport.h"

#include "platform/TextEncoding.h"

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string_view>

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

}  // namespace

std::string ExportJson(const std::vector<AccountRecord>& records)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const AccountRecord& record : records) {
        list.push_back({
            {"account", platform::DisplayText(record.account)},
            {"url", platform::DisplayText(record.url)},
            {"user", platform::DisplayText(record.user)},
            {"password", platform::DisplayText(record.password)},
            {"notes", platform::DisplayText(record.notes)},
        });
    }
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
