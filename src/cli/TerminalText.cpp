#include "cli/TerminalText.h"

#include <cstdint>
#include <cstdio>

namespace sekreta::cli {

std::string EscapeControls(std::string_view utf8, bool keepLineBreaks)
{
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(utf8[i]);
        char escape[8] = {};
        if ((byte < 0x20 || byte == 0x7F) && !(keepLineBreaks && (byte == '\n' || byte == '\t'))) {
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() && static_cast<std::uint8_t>(utf8[i + 1]) >= 0x80
            && static_cast<std::uint8_t>(utf8[i + 1]) <= 0x9F) {
            // U+0080 to U+009F: some terminals take U+009B as the start of a control sequence.
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<std::uint8_t>(utf8[++i]));
        } else {
            text += utf8[i];
            continue;
        }
        text += escape;
    }
    return text;
}

}  // namespace sekreta::cli
