#pragma once

#include <istream>
#include <optional>
#include <string>

namespace sekreta::cli {

// Standard input, line by line, so that the pass phrase and a password can follow each other
// on it, or whole.
class LineReader {
public:
    explicit LineReader(std::istream& in);

    // The next line without its "\n" or "\r\n"; a last line without a line break counts.
    // Nothing at the end of the input.
    std::optional<std::string> Next();
    // Everything not read yet, as it is.
    std::string Rest();

private:
    std::istream& m_in;
};

}  // namespace sekreta::cli
