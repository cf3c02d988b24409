#include "cli/CsvReader.h"

#include "cli/UsageError.h"

namespace sekreta::cli {

CsvReader::CsvReader(std::string_view text, std::string source)
    : m_text(text)
    , m_source(std::move(source))
{
}

std::vector<CsvReader::Row> CsvReader::ReadAll()
{
    std::vector<Row> rows;
    while (!AtEnd()) {
        if (SkipLineBreak())
            continue;
        Row row {m_line, {}};
        for (;;) {
            row.fields.push_back(m_text[m_position] == '"' ? ReadQuoted(row.line) : ReadPlain());
            if (AtEnd() || SkipLineBreak())
                break;
            if (m_text[m_position] != ',')
                throw UsageError(
                    m_source + ": line " + std::to_string(m_line) + ": a closing quote must end its field.");
            ++m_position;
            if (AtEnd()) {
                row.fields.emplace_back();
                break;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string CsvReader::ReadQuoted(std::size_t startLine)
{
    std::string field;
    ++m_position;
    for (;;) {
        if (AtEnd())
            throw UsageError(m_source + ": line " + std::to_string(startLine) + ": a quoted field is not closed.");
        const char c = m_text[m_position++];
        if (c == '"') {
            if (AtEnd() || m_text[m_position] != '"')
                return field;
            ++m_position;
        } else if (c == '\n' || (c == '\r' && (AtEnd() || m_text[m_position] != '\n'))) {
            ++m_line;
        }
        field += c;
    }
}

std::string CsvReader::ReadPlain()
{
    const std::size_t end = m_text.find_first_of(",\r\n", m_position);
    const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
    std::string field(m_text.substr(m_position, stop - m_position));
    m_position = stop;
    return field;
}

bool CsvReader::SkipLineBreak()
{
    if (m_text[m_position] == '\r') {
        ++m_position;
        if (!AtEnd() && m_text[m_position] == '\n')
            ++m_position;
    } else if (m_text[m_position] == '\n') {
        ++m_position;
    } else {
        return false;
    }
    ++m_line;
    return true;
}

}  // namespace sekreta::cli
