#pragma once

#include "cli/LineReader.h"
#include "cli/TerminalInput.h"

#include <memory>
#include <string>
#include <string_view>

namespace sekreta::cli {

// Where pass phrases and entry passwords come from: never the command line or the
// environment, but the lines of standard input (--passphrase-stdin) or the terminal, without echo.
// Every operation throws UsageError when its secret is missing, when a pass phrase is shorter
// than 4 characters or a repeated one differs, and when no terminal can be asked.
class SecretInput {
public:
    // fromStandardInput: the pass phrase is the next line of `lines`; otherwise the terminal is
    // asked. Both must outlive this object.
    SecretInput(LineReader& lines, bool fromStandardInput);

    // The pass phrase of an existing file: the next line, or asked once.
    std::string PassPhrase();
    // A pass phrase for a file that is getting one: the next line, or asked twice.
    std::string NewPassPhrase();
    // An entry's password: the next line when the pass phrase came from standard input, else
    // asked once on the terminal.
    std::string Password();

private:
    std::string FromLine(std::string_view missing);
    std::string Ask(std::string_view prompt, std::string_view missing);
    static std::string Checked(std::string passPhrase);

    LineReader& m_lines;
    bool m_fromStandardInput;
    std::unique_ptr<TerminalInput> m_terminal;
};

}  // namespace sekreta::cli
