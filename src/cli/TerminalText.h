#pragma once

#include <string>
#include <string_view>

namespace sekreta::cli {

// Text that goes to a terminal must not drive it: a field from a file made elsewhere can hold
// escape sequences that move the cursor, rewrite the screen or set the window's title.

// The UTF-8 text with every control character written as an escape: C0 controls and DEL as
// "\x1b", C1 controls as "\u009b". Line feeds and tabs stay when keepLineBreaks is true.
std::string EscapeControls(std::string_view utf8, bool keepLineBreaks);

}  // namespace sekreta::cli
