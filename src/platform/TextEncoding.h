#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sekreta::platform {

// Record texts are bytes. Files written on Windows hold Windows-1252 where files written here
// hold UTF-8; these helpers turn either into UTF-8 for showing.

void AppendUtf8(std::string& text, char32_t codePoint);
bool IsValidUtf8(std::string_view bytes);
std::string Windows1252ToUtf8(std::string_view bytes);
// The bytes themselves when they are valid UTF-8, otherwise read as Windows-1252.
std::string DisplayText(std::string_view bytes);
// A UTF-8 text's bytes in Windows-1252, when it has characters outside ASCII and every one
// of them exists in Windows-1252; nothing otherwise.
std::optional<std::string> Windows1252Form(std::string_view utf8);
// The number of characters the text shows: UTF-8 sequences count once, other bytes each.
std::size_t CharacterCount(std::string_view bytes);

}  // namespace sekreta::platform
