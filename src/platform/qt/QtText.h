#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace sekreta::platform::qt {

// The program's texts are bytes: UTF-8 where they were typed here, Windows-1252 where a file
// came from Windows. These turn them into what Qt shows and back.

// UTF-8 as it is; other bytes read as Windows-1252.
QString ToQString(std::string_view bytes);
std::string ToBytes(const QString& text);
// A menu or label text as the window system draws it without a mnemonic target: "&&" is one
// "&", a single "&" marks the next letter and is not shown.
QString WithoutMnemonics(const QString& text);
// The line breaks of a multi-line field: CR LF in the program's texts, LF in what Qt is given,
// and a paragraph separator in the raw text of its document, which keeps every other character.
QString ToLineFeeds(const QString& text);
QString ToCarriageReturnLineFeeds(const QString& rawText);

}  // namespace sekreta::platform::qt
