#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// Splits CSV text (RFC 4180) into rows of fields: fields separated by commas, rows by CR LF, LF
// or CR; a quoted field may hold commas, line breaks and doubled quotes. A quote inside an
// unquoted field is taken as a letter. Rows with no text at all are skipped.
class CsvReader {
public:
    struct Row {
        std::size_t line;  // where the row starts, from 1
        std::vector<std::string> fields;
    };

    // source names the text in messages.
    CsvReader(std::string_view text, std::string source);

    // Every row in order. Throws UsageError naming the source and the line for a quoted field
    // that is never closed, and for text between a closing quote and the next comma or line end.
    std::vector<Row> ReadAll();

private:
    std::string ReadQuoted(std::size_t startLine);
    std::string ReadPlain();
    // Steps over one line break at the current position; false when there is none.
    bool SkipLineBreak();
    bool AtEnd() const { return m_position == m_text.size(); }

    std::string_view m_text;
    std::string m_source;
    std::size_t m_position = 0;
    std::size_t m_line = 1;
};

}  // namespace sekreta::cli
