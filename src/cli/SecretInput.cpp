#include "cli/SecretInput.h"

#include "cli/UsageError.h"
#include "platform/PassPhraseBound.h"
#include "platform/TextEncoding.h"

namespace sekreta::cli {

namespace {

constexpr std::size_t kShortestPassPhrase = 4;
constexpr std::string_view kNoPassPhrase = "No pass phrase was given.";
constexpr std::string_view kNoPassword = "No password was given.";
constexpr std::string_view kAdvice
    = "give the pass phrase as the first line of standard input with --passphrase-stdin.";

}  // namespace

SecretInput::SecretInput(LineReader& lines, SecretSources sources)
    : m_lines(lines)
    , m_sources(sources)
{
}

std::string SecretInput::PassPhrase()
{
    if (m_sources.passPhraseFromStdin)
        return Checked(FromLine(kNoPassPhrase));
    return Checked(Ask("Pass phrase: ", kNoPassPhrase));
}

std::string SecretInput::NewPassPhrase()
{
    if (m_sources.passPhraseFromStdin)
        return CheckedNew(FromLine(kNoPassPhrase));
    std::string passPhrase = CheckedNew(Ask("New pass phrase: ", kNoPassPhrase));
    // A typing error here would lock the user out of the file for good.
    if (Ask("Repeat the new pass phrase: ", kNoPassPhrase) != passPhrase)
        throw UsageError("The pass phrases do not match.");
    return passPhrase;
}

std::string SecretInput::Password()
{
    if (m_sources.passPhraseFromStdin || !m_sources.stdinIsTerminal)
        return FromLine(kNoPassword);
    return Ask("Password: ", kNoPassword);
}

std::string SecretInput::FromLine(std::string_view missing)
{
    std::optional<std::string> line = m_lines.Next();
    if (!line)
        throw UsageError(std::string(missing));
    return std::move(*line);
}

std::string SecretInput::Ask(std::string_view prompt, std::string_view missing)
{
    if (!m_terminal) {
        // A script that forgot --passphrase-stdin must fail here rather than hang on a prompt
        // nobody sees; standard input that holds other input says the terminal is meant.
        if (!m_sources.stdinIsTerminal && !m_sources.stdinHoldsInput)
            throw UsageError("Standard input is not a terminal: " + std::string(kAdvice));
        m_terminal = std::make_unique<TerminalInput>();
    }
    std::optional<std::string> answer = m_terminal->ReadHidden(prompt);
    if (!answer)
        throw UsageError(std::string(missing));
    return std::move(*answer);
}

std::string SecretInput::Checked(std::string passPhrase)
{
    if (platform::CharacterCount(passPhrase) < kShortestPassPhrase)
        throw UsageError("Please enter a pass phrase of at least 4 characters");
    return passPhrase;
}

std::string SecretInput::CheckedNew(std::string passPhrase)
{
    // The desktop program's field takes no more, so the file could never be opened there.
    if (platform::CharacterCount(passPhrase) > platform::kLongestPassPhrase)
        throw UsageError("Please enter a pass phrase of at most " + std::to_string(platform::kLongestPassPhrase)
            + " characters: the desktop program could not take a longer one.");
    return Checked(std::move(passPhrase));
}

}  // namespace sekreta::cli
