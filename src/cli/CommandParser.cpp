#include "cli/CommandParser.h"

#include "cli/Commands.h"
#include "cli/EntryListing.h"
#include "cli/UsageError.h"
#include "platform/PassPhraseBound.h"

namespace sekreta::cli {

namespace {

constexpr std::string_view kEntryNote
    = R"(ENTRY is an entry's number as ls shows it, counted from 1, or its account name: the exact
name, else the one name equal to it ignoring case, else the one name that starts with it
ignoring case. A name that could mean several entries lists them.)";

constexpr std::string_view kPassPhraseNote
    = R"(The pass phrase is asked on the terminal without echo, or read from the first line of
standard input with --passphrase-stdin; it is never taken from the command line.)";

constexpr std::string_view kPasswordNote
    = R"(--password-stdin takes the entry's password from standard input: the line after the pass
phrase with --passphrase-stdin, else the first line, while the pass phrase is asked on the
terminal. When standard input is the terminal, the password is asked there without echo.)";

constexpr std::string_view kPasswdNote
    = R"(The new pass phrase is asked twice on the terminal. With --passphrase-stdin the first line is
the current pass phrase and the second the new one; an empty (zero-byte) file has no pass
phrase yet, and then the first line is the new one.)";

constexpr std::string_view kNewPassPhraseNote
    = R"(A new pass phrase, here and wherever an empty file is given its first one, has at most 48
characters: the desktop program's pass phrase field takes no more. Files made elsewhere under a
longer one still open, and passwd gives them a shorter one.)";
static_assert(platform::kLongestPassPhrase == 48, "the note above gives the number");

constexpr std::string_view kTerminalNote
    = R"(On a terminal, control characters in the texts are shown escaped (\x1b); written to a pipe
or a file, and as JSON, the texts are exact.)";

constexpr std::string_view kSearchNote = "Exits with status 1 when no entry contains TEXT.";

constexpr std::string_view kExportNote
    = R"(An output file is readable and writable by you alone, and an existing one is replaced only
with --force. The JSON export holds each entry's account, url, user, password and notes, and
names under "windows-1252" the fields whose bytes came from a file written on Windows.)";

constexpr std::string_view kImportNote
    = R"(A CSV file needs a header row with "Title" and "Password" columns; a JSON file is read as
export writes it, each entry with an account and a password. With --from -, standard input
holds the entries, so the pass phrase is asked on the terminal.)";

constexpr std::string_view kExitStatusNote
    = R"(Exit status: 0 success; 1 usage or input error; 2 not a Sekreta file, or a wrong pass phrase;
3 a file could not be read or written, or another program was changing it (or the system failed).)";

std::string Footer(const std::vector<std::string_view>& notes)
{
    std::string footer;
    for (const std::string_view note : notes) {
        footer += '\n';
        footer += note;
        footer += '\n';
    }
    footer.pop_back();
    return footer;
}

}  // namespace

CommandParser::CommandParser(Arguments& arguments)
    : m_arguments(arguments)
    , m_app("Reaches the entries of a Sekreta file (.sek) from a terminal or a script.", "sekreta-cli")
{
    m_app.footer(Footer({kExitStatusNote}));
    m_app.require_subcommand(1);
    m_app.set_version_flag("--version", std::string(Version()), "Print the version and exit");
    // Every message of the program names it, as other command-line tools do.
    m_app.failure_message([](const CLI::App* app, const CLI::Error& error) {
        return "sekreta-cli: " + CLI::FailureMessage::simple(app, error);
    });
    AddCommands();
}

Command CommandParser::Chosen() const
{
    for (const CommandEntry& entry : m_entries) {
        if (entry.app->parsed())
            return entry.command;
    }
    return nullptr;
}

std::string CommandParser::HelpText(const std::string& command) const
{
    // App::help() would show the help of the command that was parsed, which is help itself.
    if (command.empty())
        return m_app.get_formatter()->make_help(&m_app, m_app.get_name(), CLI::AppFormatMode::Normal);
    for (const CommandEntry& entry : m_entries) {
        if (entry.app->get_name() == command)
            return entry.app->help(m_app.get_name());
    }
    throw UsageError("There is no command \"" + command + "\"; sekreta-cli help lists them.");
}

std::string_view CommandParser::Version()
{
    return "sekreta-cli " SEKRETA_VERSION;
}

std::string_view CommandParser::ExitStatusNote()
{
    return kExitStatusNote;
}

CLI::App* CommandParser::AddCommand(
    const char* name, const char* description, Command command, std::vector<std::string_view> notes)
{
    CLI::App* sub = m_app.add_subcommand(name, description);
    std::vector<std::string_view> footer = notes;
    footer.push_back(kExitStatusNote);
    sub->footer(Footer(footer));
    m_entries.push_back({sub, command, std::move(notes)});
    return sub;
}

void CommandParser::AddFile(CLI::App* sub)
{
    sub->add_option("FILE", m_arguments.file, "The .sek file")->required();
}

void CommandParser::AddEntry(CLI::App* sub)
{
    sub->add_option("ENTRY", m_arguments.entry, "The entry's number as ls shows it, or its account name")->required();
}

void CommandParser::AddPassPhraseFromStdin(CLI::App* sub, const char* description)
{
    sub->add_flag("--passphrase-stdin", m_arguments.passPhraseFromStdin, description);
}

std::vector<CLI::Option*> CommandParser::AddGeneratorOptions(CLI::App* sub)
{
    return {
        sub->add_option("--length", m_arguments.length, "Number of characters, 4 to 128 (default 8)")->type_name("N"),
        sub->add_flag("--lower", m_arguments.lower, "Lower-case letters (the default when no kind is named)"),
        sub->add_flag("--upper", m_arguments.upper, "Capital letters; with --lower, one capital"),
        sub->add_flag("--digits", m_arguments.digits, "A final digit; alone, digits only"),
    };
}

void CommandParser::AddEntryFields(CLI::App* sub)
{
    sub->add_option("--url", m_arguments.url, "Web address");
    sub->add_option("--user", m_arguments.user, "User name");
    sub->add_option("--notes", m_arguments.notes, "Notes; line breaks are stored as CR LF");
    CLI::Option* fromStdin = sub->add_flag(
        "--password-stdin", m_arguments.passwordFromStdin, "Take the password from standard input (see below)");
    CLI::Option* generate
        = sub->add_flag("--generate", m_arguments.generate, "Generate the password (see the options below)");
    fromStdin->excludes(generate);
    for (CLI::Option* option : AddGeneratorOptions(sub))
        option->needs(generate);
}

void CommandParser::AddCommands()
{
    const char* readPassPhrase = "Read the pass phrase from the first line of standard input";

    CLI::App* create
        = AddCommand("new", "Write an empty Sekreta file", &Commands::New, {kPassPhraseNote, kNewPassPhraseNote});
    AddFile(create);
    create->add_flag("--force", m_arguments.force, "Replace an existing file");
    AddPassPhraseFromStdin(create, "Read the new file's pass phrase from the first line of standard input");

    CLI::App* list = AddCommand("ls", "List the entries: number, account, user and URL, tab-separated", &Commands::List,
        {kPassPhraseNote, kTerminalNote});
    AddFile(list);
    list->add_flag("--json", m_arguments.json, "An array of objects with index, account, user and url");
    AddPassPhraseFromStdin(list, readPassPhrase);

    CLI::App* show = AddCommand("show", "Show an entry's five fields; the password only when asked for",
        &Commands::Show, {kEntryNote, kPassPhraseNote, kTerminalNote});
    AddFile(show);
    AddEntry(show);
    CLI::Option* field
        = show->add_option("--field", m_arguments.field, "Print exactly this field's text and one line break")
              ->check(CLI::IsMember(std::vector<std::string>(std::begin(kFieldNames), std::end(kFieldNames))));
    show->add_flag("-s,--show-password", m_arguments.showPassword, "Show the password instead of PROTECTED");
    show->add_flag("--json", m_arguments.json, "An object with the keys of the JSON export")->excludes(field);
    AddPassPhraseFromStdin(show, readPassPhrase);

    CLI::App* search = AddCommand("search", "List the entries whose account, user, URL or notes contain TEXT",
        &Commands::Search, {kSearchNote, kPassPhraseNote, kTerminalNote});
    AddFile(search);
    search->add_option("TEXT", m_arguments.text, "The text to look for, ignoring case")->required();
    search->add_flag("--json", m_arguments.json, "An array of objects with index, account, user and url");
    AddPassPhraseFromStdin(search, readPassPhrase);

    CLI::App* add = AddCommand(
        "add", "Add an entry at the end; prints its number", &Commands::Add, {kPassPhraseNote, kPasswordNote});
    AddFile(add);
    add->add_option("--account", m_arguments.account, "Account name")->required();
    AddEntryFields(add);
    AddPassPhraseFromStdin(add, readPassPhrase);

    CLI::App* edit = AddCommand(
        "edit", "Change the fields that are given", &Commands::Edit, {kEntryNote, kPassPhraseNote, kPasswordNote});
    AddFile(edit);
    AddEntry(edit);
    edit->add_option("--account", m_arguments.account, "Account name");
    AddEntryFields(edit);
    AddPassPhraseFromStdin(edit, readPassPhrase);

    CLI::App* remove
        = AddCommand("rm", "Remove an entry; later entries move up", &Commands::Remove, {kEntryNote, kPassPhraseNote});
    AddFile(remove);
    AddEntry(remove);
    AddPassPhraseFromStdin(remove, readPassPhrase);

    CLI::App* passwd = AddCommand("passwd", "Change the pass phrase", &Commands::ChangePassPhrase,
        {kPassPhraseNote, kPasswdNote, kNewPassPhraseNote});
    AddFile(passwd);
    AddPassPhraseFromStdin(passwd, "Read the pass phrases from standard input");

    CLI::App* generate = AddCommand("generate", "Print pronounceable passwords, one per line", &Commands::Generate, {});
    AddGeneratorOptions(generate);
    generate->add_option("--count", m_arguments.count, "How many passwords (default 1)")->type_name("K");

    CLI::App* exporter = AddCommand(
        "export", "Write every entry for another password manager", &Commands::Export, {kExportNote, kPassPhraseNote});
    AddFile(exporter);
    exporter->add_option("--format", m_arguments.format, "json (default) or csv (KeePassXC's import layout)")
        ->check(CLI::IsMember({"json", "csv"}));
    exporter->add_option("-o,--output", m_arguments.output, "Write to this file; - is standard output, the default");
    exporter->add_flag("--force", m_arguments.force, "Replace an existing output file");
    AddPassPhraseFromStdin(exporter, readPassPhrase);

    CLI::App* importer = AddCommand(
        "import", "Append the entries of a CSV or JSON file", &Commands::Import, {kImportNote, kPassPhraseNote});
    AddFile(importer);
    importer->add_option("--from", m_arguments.from, "The file to read; - is standard input")->required();
    importer
        ->add_option("--format", m_arguments.importFormat,
            "csv (default; KeePassXC's import or export layout) or json (as export writes it)")
        ->check(CLI::IsMember({"csv", "json"}));
    AddPassPhraseFromStdin(importer, readPassPhrase);

    CLI::App* help = AddCommand("help", "Show the help of the program or of one command", nullptr, {});
    help->add_option("COMMAND", m_arguments.command, "The command to explain");
}

}  // namespace sekreta::cli
