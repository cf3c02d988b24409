// Feeds arbitrary bytes to sekreta-cli's JSON import. A text it refuses must be refused with a
// message that names the file; a text it takes must give entries whose export as JSON imports
// as exactly the same entries again, byte for byte, texts that are not UTF-8 included.
#include "cli/JsonImport.h"
#include "cli/RecordExport.h"
#include "cli/UsageError.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

constexpr std::string_view kSource = "fuzz.json";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<sekreta::AccountRecord> records;
    try {
        records = sekreta::cli::RecordsFromJson(text, std::string(kSource));
    } catch (const sekreta::cli::UsageError& refusal) {
        if (!std::string_view(refusal.what()).starts_with(kSource))
            std::abort();
        return 0;
    }
    if (sekreta::cli::RecordsFromJson(sekreta::cli::ExportJson(records), "export.json") != records)
        std::abort();
    return 0;
}
