#include "cli/LineReader.h"

namespace sekreta::cli {

LineReader::LineReader(std::istream& in)
    : m_in(in)
{
}

std::optional<std::string> LineReader::Next()
{
    std::string line;
    if (!std::getline(m_in, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace sekreta::cli
