#include "cli/NumberArgument.h"

#include "cli/UsageError.h"
#include "framework/StringTable.h"
#include "framework/UnsignedText.h"

#include <string>

namespace sekreta::cli {

std::uint32_t ParseInRange(std::string_view text, std::uint32_t low, std::uint32_t high)
{
    const std::optional<std::uint64_t> value = ParseUnsigned(text);
    if (!value)
        throw UsageError(StringTable::Load(IDP_PARSE_UINT));
    if (*value < low || *value > high)
        throw UsageError(StringTable::Format(IDP_PARSE_INT_RANGE, {std::to_string(low), std::to_string(high)}));
    return static_cast<std::uint32_t>(*value);
}

}  // namespace sekreta::cli
