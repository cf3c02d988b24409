#include "cli/ManPage.h"

#include <sstream>
#include <string_view>

namespace sekreta::cli {

namespace {

// Text as roff prints it: a backslash is roff's escape, every "-" a real minus, so that options
// copied from the page still work, and a line may not start with a request's "." or "'".
std::string Roff(std::string_view text)
{
    std::string roff;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\''))
            roff += "\\&";
        if (c == '\\')
            roff += "\\e";
        else if (c == '-')
            roff += "\\-";
        else
            roff += c;
        lineStart = c == '\n';
    }
    return roff;
}

bool IsHelpFlag(const CLI::Option* option)
{
    return option->get_name() == "--help";
}

// "sekreta-cli show [OPTIONS] FILE ENTRY"
std::string Synopsis(const CLI::App& program, const CLI::App& command)
{
    std::string synopsis = "\\fB" + Roff(program.get_name() + " " + command.get_name()) + "\\fR [\\fIOPTIONS\\fR]";
    for (const CLI::Option* option : command.get_options()) {
        if (!option->get_positional())
            continue;
        const std::string name = "\\fI" + Roff(option->get_name(true)) + "\\fR";
        synopsis += " " + (option->get_required() ? name : "[" + name + "]");
    }
    return synopsis;
}

void WriteOption(std::ostream& page, const CLI::Option& option)
{
    page << ".TP\n";
    if (option.get_positional()) {
        page << "\\fI" << Roff(option.get_name(true)) << "\\fR\n";
    } else {
        std::string names = option.get_name(false, true);
        std::string bold;
        for (std::size_t start = 0; start < names.size();) {
            const std::size_t end = std::min(names.find(',', start), names.size());
            bold += (bold.empty() ? "" : ", ") + ("\\fB" + Roff(names.substr(start, end - start)) + "\\fR");
            start = end + 1;
        }
        page << bold;
        if (!option.get_type_name().empty())
            page << " \\fI" << Roff(option.get_type_name()) << "\\fR";
        page << '\n';
    }
    page << Roff(option.get_description());
    if (option.get_required() && !option.get_positional())
        page << " (required)";
    for (const CLI::Option* needed : option.get_needs())
        page << "; only with " << Roff(needed->get_name());
    for (const CLI::Option* excluded : option.get_excludes())
        page << "; not with " << Roff(excluded->get_name());
    page << '\n';
}

void WriteParagraphs(std::ostream& page, std::string_view text)
{
    page << ".PP\n" << Roff(text) << '\n';
}

}  // namespace

std::string ManPage(const CommandParser& parser)
{
    const CLI::App& program = parser.App();
    std::string description = program.get_description();
    if (description.ends_with('.'))
        description.pop_back();

    std::ostringstream page;
    page << ".TH SEKRETA\\-CLI 1 \"\" \"" << Roff(CommandParser::Version()) << "\" \"User Commands\"\n";
    page << ".SH NAME\n" << Roff(program.get_name()) << " \\- " << Roff(description) << '\n';
    page << ".SH SYNOPSIS\n";
    page << "\\fB" << Roff(program.get_name()) << "\\fR \\fICOMMAND\\fR [\\fIOPTIONS\\fR] [\\fIARGUMENTS\\fR]\n.br\n";
    page << "\\fB" << Roff(program.get_name()) << "\\fR \\fB\\-\\-version\\fR\n";
    page << ".SH DESCRIPTION\n" << Roff(program.get_description()) << '\n';
    page << ".PP\nEvery command takes \\fB\\-h\\fR, \\fB\\-\\-help\\fR, which shows its help.\n";
    page << ".SH COMMANDS\n";
    for (const CommandParser::CommandEntry& entry : parser.Entries()) {
        page << ".SS " << Synopsis(program, *entry.app) << '\n';
        page << Roff(entry.app->get_description()) << ".\n";
        for (const CLI::Option* option : entry.app->get_options()) {
            if (!IsHelpFlag(option))
                WriteOption(page, *option);
        }
        for (const std::string_view note : entry.notes)
            WriteParagraphs(page, note);
    }
    page << ".SH EXIT STATUS\n";
    std::string_view exitStatus = CommandParser::ExitStatusNote();
    exitStatus.remove_prefix(exitStatus.find(':') + 2);
    page << Roff(exitStatus) << '\n';
    return page.str();
}

}  // namespace sekreta::cli
