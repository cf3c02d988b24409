#pragma once

#include "cli/Arguments.h"

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

class Commands;
using Command = void (Commands::*)(const Arguments& arguments);

// sekreta-cli's commands and options as CLI11 reads them, with every text of their help; the
// help screens and the manual page are both made from it.
class CommandParser {
public:
    struct CommandEntry {
        const CLI::App* app;
        Command command;  // nullptr for help, which the parser answers itself
        // The paragraphs under the options; the help screen adds the exit status.
        std::vector<std::string_view> notes;
    };

    // Parsing fills `arguments`, which must outlive the parser.
    explicit CommandParser(Arguments& arguments);
    CommandParser(const CommandParser&) = delete;
    CommandParser& operator=(const CommandParser&) = delete;

    CLI::App& App() { return m_app; }
    const CLI::App& App() const { return m_app; }
    const std::vector<CommandEntry>& Entries() const { return m_entries; }

    // The command the parsed line names: nullptr when it is help.
    Command Chosen() const;
    // The help screen of the program, or of the command named. Throws UsageError when there
    // is no such command.
    std::string HelpText(const std::string& command) const;

    static std::string_view Version();
    static std::string_view ExitStatusNote();

private:
    CLI::App* AddCommand(
        const char* name, const char* description, Command command, std::vector<std::string_view> notes);
    void AddFile(CLI::App* sub);
    void AddEntry(CLI::App* sub);
    void AddPassPhraseFromStdin(CLI::App* sub, const char* description);
    std::vector<CLI::Option*> AddGeneratorOptions(CLI::App* sub);
    void AddEntryFields(CLI::App* sub);
    void AddCommands();

    Arguments& m_arguments;
    CLI::App m_app;
    std::vector<CommandEntry> m_entries;
};

}  // namespace sekreta::cli
