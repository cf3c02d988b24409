#pragma once

#include <string>
#include <string_view>

namespace sekreta::cli {

// The desktop program's notes break lines with CR LF; Unix tools write LF alone.

// Every line feed that no carriage return precedes gets one.
std::string WindowsLineBreaks(std::string_view text);
// Every CR LF becomes LF.
std::string UnixLineBreaks(std::string_view text);

}  // namespace sekreta::cli
