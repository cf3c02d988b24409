#include "cli/EntryListing.h"

#include "cli/LineBreaks.h"
#include "platform/TextEncoding.h"

#include <nlohmann/json.hpp>

namespace sekreta::cli {

namespace {

std::string OneLine(std::string_view bytes)
{
    std::string text = platform::DisplayText(bytes);
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
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

}  // namespace

std::string ListText(const std::vector<AccountRecord>& records)
{
    std::string text;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const AccountRecord& record = records[i];
        text += std::to_string(i + 1) + '\t' + OneLine(record.account) + '\t' + OneLine(record.user) + '\t'
            + OneLine(record.url) + '\n';
    }
    return text;
}

std::string ListJson(const std::vector<AccountRecord>& records)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < records.size(); ++i) {
        list.push_back({
            {"index", i + 1},
            {"account", platform::DisplayText(records[i].account)},
            {"user", platform::DisplayText(records[i].user)},
            {"url", platform::DisplayText(records[i].url)},
        });
    }
    return list.dump(2) + '\n';
}

std::string EntryText(const AccountRecord& record)
{
    return Labelled("Account", OneLine(record.account)) + Labelled("URL", OneLine(record.url))
        + Labelled("User", OneLine(record.user)) + Labelled("Password", OneLine(record.password))
        + Labelled("Notes", UnixLineBreaks(platform::DisplayText(record.notes)));
}

std::string FieldText(const AccountRecord& record, std::string_view fieldName)
{
    const std::string* field = fieldName == "account" ? &record.account
        : fieldName == "url"                          ? &record.url
        : fieldName == "user"                         ? &record.user
        : fieldName == "password"                     ? &record.password
                                                      : &record.notes;
    return platform::DisplayText(*field) + '\n';
}

}  // namespace sekreta::cli
