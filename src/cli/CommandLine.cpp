#include "cli/CommandLine.h"

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/EntryListing.h"
#include "cli/ExitStatus.h"
#include "cli/UsageError.h"
#include "framework/CArchiveException.h"
#include "framework/CFileException.h"
#include "framework/StringTable.h"

#include <CLI/CLI.hpp>

#include <new>
#include <utility>
#include <vector>

namespace sekreta::cli {

namespace {

constexpr const char* kFooter = R"(
Entries are numbered from 1, as ls shows them. Pass phrases are asked on the terminal without
echo; with --passphrase-stdin the pass phrase is the first line of standard input, and
--password-stdin then takes the entry's password from the next line.

Exit status: 0 success; 1 usage or input error; 2 not a Sekreta file, or a wrong pass phrase;
3 a file could not be read or written (or the system failed).)";

constexpr const char* kPasswdFooter = R"(
The new pass phrase is asked twice on the terminal. With --passphrase-stdin the first line is
the current pass phrase and the second the new one; an empty (zero-byte) file has no pass
phrase yet, and then the first line is the new one.
)";

using Command = void (Commands::*)(const Arguments&);

class Parser {
public:
    explicit Parser(Arguments& arguments)
        : m_arguments(arguments)
    {
        m_app.description("Reaches the entries of a Sekreta file (.sek) from a terminal or a script.");
        m_app.footer(kFooter);
        m_app.require_subcommand(1);
        AddCommands();
    }

    CLI::App& App() { return m_app; }

    // The command the parsed line names.
    Command Chosen() const
    {
        for (const auto& [app, command] : m_commands) {
            if (app->parsed())
                return command;
        }
        return nullptr;
    }

private:
    CLI::App* AddCommand(const char* name, const char* description, Command command)
    {
        CLI::App* sub = m_app.add_subcommand(name, description);
        m_commands.emplace_back(sub, command);
        return sub;
    }

    void AddFile(CLI::App* sub) { sub->add_option("FILE", m_arguments.file, "The .sek file")->required(); }

    void AddIndex(CLI::App* sub)
    {
        sub->add_option("INDEX", m_arguments.index, "The entry's number, as ls shows it")->required();
    }

    void AddPassPhraseFromStdin(CLI::App* sub, const char* description)
    {
        sub->add_flag("--passphrase-stdin", m_arguments.passPhraseFromStdin, description);
    }

    void AddPassPhraseFromStdin(CLI::App* sub)
    {
        AddPassPhraseFromStdin(sub, "Read the pass phrase from the first line of standard input");
    }

    std::vector<CLI::Option*> AddGeneratorOptions(CLI::App* sub)
    {
        return {
            sub->add_option("--length", m_arguments.length, "Number of characters, 4 to 128 (default 8)")
                ->type_name("N"),
            sub->add_flag("--lower", m_arguments.lower, "Lower-case letters (the default when no kind is named)"),
            sub->add_flag("--upper", m_arguments.upper, "Capital letters; with --lower, one capital"),
            sub->add_flag("--digits", m_arguments.digits, "A final digit; alone, digits only"),
        };
    }

    void AddEntryFields(CLI::App* sub)
    {
        sub->add_option("--url", m_arguments.url, "Web address");
        sub->add_option("--user", m_arguments.user, "User name");
        sub->add_option("--notes", m_arguments.notes, "Notes; line breaks are stored as CR LF");
        CLI::Option* fromStdin = sub->add_flag("--password-stdin", m_arguments.passwordFromStdin,
            "Read the password from standard input (the line after the pass phrase with "
            "--passphrase-stdin), or from the terminal without echo");
        CLI::Option* generate
            = sub->add_flag("--generate", m_arguments.generate, "Generate the password (see the options below)");
        fromStdin->excludes(generate);
        for (CLI::Option* option : AddGeneratorOptions(sub))
            option->needs(generate);
    }

    void AddCommands()
    {
        CLI::App* create = AddCommand("new", "Write an empty Sekreta file", &Commands::New);
        AddFile(create);
        create->add_flag("--force", m_arguments.force, "Replace an existing file");
        AddPassPhraseFromStdin(create, "Read the new file's pass phrase from the first line of standard input");

        CLI::App* list
            = AddCommand("ls", "List the entries: number, account, user and URL, tab-separated", &Commands::List);
        AddFile(list);
        list->add_flag("--json", m_arguments.json, "An array of objects with index, account, user and url");
        AddPassPhraseFromStdin(list);

        CLI::App* show = AddCommand("show", "Show an entry's five fields", &Commands::Show);
        AddFile(show);
        AddIndex(show);
        show->add_option("--field", m_arguments.field, "Print exactly this field's text and one line break")
            ->check(CLI::IsMember(std::vector<std::string>(std::begin(kFieldNames), std::end(kFieldNames))));
        AddPassPhraseFromStdin(show);

        CLI::App* add = AddCommand("add", "Add an entry at the end; prints its number", &Commands::Add);
        AddFile(add);
        add->add_option("--account", m_arguments.account, "Account name")->required();
        AddEntryFields(add);
        AddPassPhraseFromStdin(add);

        CLI::App* edit = AddCommand("edit", "Change the fields that are given", &Commands::Edit);
        AddFile(edit);
        AddIndex(edit);
        edit->add_option("--account", m_arguments.account, "Account name");
        AddEntryFields(edit);
        AddPassPhraseFromStdin(edit);

        CLI::App* remove = AddCommand("rm", "Remove an entry; later entries move up", &Commands::Remove);
        AddFile(remove);
        AddIndex(remove);
        AddPassPhraseFromStdin(remove);

        CLI::App* passwd = AddCommand("passwd", "Change the pass phrase", &Commands::ChangePassPhrase);
        passwd->footer(std::string(kPasswdFooter) + kFooter);
        AddFile(passwd);
        AddPassPhraseFromStdin(passwd, "Read the pass phrases from standard input");

        CLI::App* generate = AddCommand("generate", "Print pronounceable passwords, one per line", &Commands::Generate);
        AddGeneratorOptions(generate);
        generate->add_option("--count", m_arguments.count, "How many passwords (default 1)")->type_name("K");

        CLI::App* exporter = AddCommand("export", "Write every entry for another password manager", &Commands::Export);
        AddFile(exporter);
        exporter->add_option("--format", m_arguments.format, "json (default) or csv (KeePassXC's import layout)")
            ->check(CLI::IsMember({"json", "csv"}));
        exporter->add_option("-o,--output", m_arguments.output, "Write to this file instead of standard output");
        AddPassPhraseFromStdin(exporter);

        CLI::App* importer = AddCommand(
            "import", "Append the rows of a CSV file in KeePassXC's import or export layout", &Commands::Import);
        AddFile(importer);
        importer->add_option("--from", m_arguments.from, "The CSV file")->required();
        AddPassPhraseFromStdin(importer);
    }

    Arguments& m_arguments;
    CLI::App m_app {"", "sekreta-cli"};
    std::vector<std::pair<CLI::App*, Command>> m_commands;
};

}  // namespace

CommandLine::CommandLine(platform::FileSystem& fileSystem, platform::RandomSource& random, std::istream& in,
    std::ostream& out, std::ostream& err)
    : m_fileSystem(fileSystem)
    , m_random(random)
    , m_in(in)
    , m_out(out)
    , m_err(err)
{
}

int CommandLine::Run(int argc, const char* const* argv)
{
    try {
        Arguments arguments;
        Parser parser(arguments);
        int status = kSuccess;
        try {
            parser.App().parse(argc, argv);
            LineReader lines(m_in);
            SecretInput secrets(lines, arguments.passPhraseFromStdin);
            Commands commands(m_fileSystem, m_random, secrets, m_out);
            (commands.*parser.Chosen())(arguments);
        } catch (const CLI::ParseError& error) {
            // Help is a parse "error" too, with status 0.
            status = parser.App().exit(error, m_out, m_err) == 0 ? kSuccess : kUsageError;
        }
        // Output that never arrived must not pass for success.
        if (!m_out.flush())
            throw CFileException(CFileException::genericException, -1, "the standard output");
        return status;
    } catch (const UsageError& error) {
        m_err << error.what() << '\n';
        return kUsageError;
    } catch (const CArchiveException&) {
        m_err << StringTable::Load(IDP_FAILED_INVALID_FORMAT) << '\n';
        return kBadFormat;
    } catch (const CFileException& error) {
        m_err << error.GetErrorMessage() << '\n';
        return kFileFailure;
    } catch (const std::bad_alloc&) {
        m_err << "Out of memory.\n";
        return kFileFailure;
    } catch (const std::exception& error) {
        m_err << error.what() << '\n';
        return kFileFailure;
    }
}

}  // namespace sekreta::cli
