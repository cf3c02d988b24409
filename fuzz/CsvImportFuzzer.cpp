// Feeds arbitrary bytes to sekreta-cli's CSV import. A text it refuses must be refused with a
// message that names the file; a text it takes must give entries whose notes break lines as
// the desktop program's do, and whose export as CSV imports as the same entries again.
#include "cli/CsvImport.h"
#include "cli/RecordExport.h"
#include "cli/UsageError.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view kSource = "fuzz.csv";

bool HasLoneLineFeed(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return true;
    }
    return false;
}

// Texts that are not UTF-8 are exported as the Windows-1252 they are shown as, so only entries
// that are UTF-8 throughout come back byte for byte.
bool AllUtf8(const sekreta::AccountRecord& record)
{
    return std::ranges::all_of(std::initializer_list<const std::string*> {&record.account, &record.url, &record.user,
                                   &record.password, &record.notes},
        [](const std::string* text) { return sekreta::platform::IsValidUtf8(*text); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<sekreta::AccountRecord> records;
    try {
        records = sekreta::cli::RecordsFromCsv(text, std::string(kSource));
    } catch (const sekreta::cli::UsageError& refusal) {
        if (!std::string_view(refusal.what()).starts_with(kSource))
            std::abort();
        return 0;
    }
    if (std::ranges::any_of(records, [](const auto& record) { return HasLoneLineFeed(record.notes); }))
        std::abort();
    if (!std::ranges::all_of(records, AllUtf8))
        return 0;
    if (sekreta::cli::RecordsFromCsv(sekreta::cli::ExportCsv(records), "export.csv") != records)
        std::abort();
    return 0;
}
