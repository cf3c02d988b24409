#pragma once

#include "cli/LineReader.h"
#include "cli/TerminalInput.h"

#include <memory>
#include <string>
#include <string_view>

namespace sekreta::cli {

// Where secrets come from, as the command line and the process's standard input say.
struct SecretSources {
    // --passphrase-stdin: the pass phrases, then the entry's password, are lines of standard input.
    bool passPhraseFromStdin = false;
    bool stdinIsTerminal = false;
    // Standard input holds something else the command reads (a password, entries to import),
    // so pass phrases are asked on the terminal even when standard input is no terminal.
    bool stdinHoldsInput = false;
};

// Where pass phrases and entry passwords come from: never the command line or the
// environment, but the lines of standard input or the terminal, without echo.
// Every operation throws UsageError when its secret is missing, when a pass phrase is shorter
// than 4 characters or a repeated one differs, and when no terminal can be asked.
class SecretInput {
public:
    // `lines` must outlive this object.
    SecretInput(LineReader& lines, SecretSources sources);

    // The pass phrase of an existing file: the next line, or asked once.
    std::string PassPhrase();
    // A pass phrase for a file that is getting one: the next line, or asked twice. Also throws
    // UsageError for a phrase of more than 48 characters, which the desktop program cannot take;
    // existing files open under pass phrases of any length.
    std::string NewPassPhrase();
    // An entry's password: the next line of standard input, asked without echo when standard
    // input is the terminal and the pass phrase did not come from it.
    std::string Password();

private:
    std::string FromLine(std::string_view missing);
    std::string Ask(std::string_view prompt, std::string_view missing);
    static std::string Checked(std::string passPhrase);
    static std::string CheckedNew(std::string passPhrase);

    LineReader& m_lines;
    SecretSources m_sources;
    std::unique_ptr<TerminalInput> m_terminal;
};

}  // namespace sekreta::cli
