#include "cli/LineReader.h"

#include <iterator>

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

std::string LineReader::Rest()
{
    return {std::istreambuf_iterator<char>(m_in), std::istreambuf_iterator<char>()};
}

}  // namespace sekreta::cli
