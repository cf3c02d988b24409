#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sekreta {

// Reads an unsigned decimal number the way the dialogs accept one: blanks and tabs around it,
// an optional plus sign, then decimal digits and nothing else; nothing when the text is no such
// number. Numbers past the result's range come back as its largest value, so that they fail a
// range check rather than wrap.
std::optional<std::uint64_t> ParseUnsigned(std::string_view text);

}  // namespace sekreta
