#pragma once

#include <cstdint>
#include <string_view>

namespace sekreta::cli {

// Numbers on the command line are read as the generator dialog reads its length field
// (ParseUnsigned): CLI11's own reading would take "010" as octal and "0x10" as hexadecimal.

// The number when it lies from low to high. Throws UsageError with "Please enter a positive
// integer." when the text is no number, and with "Please enter an integer between low and
// high." when it lies outside.
std::uint32_t ParseInRange(std::string_view text, std::uint32_t low, std::uint32_t high);

}  // namespace sekreta::cli
