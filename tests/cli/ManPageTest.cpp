#include "cli/ManPage.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace sekreta::cli {
namespace {

class ManPageTest : public testing::Test {
protected:
    Arguments m_arguments;
    CommandParser m_parser {m_arguments};
    std::string m_page = ManPage(m_parser);
};

TEST_F(ManPageTest, OpensWithTheTitleNameAndSynopsis)
{
    EXPECT_TRUE(m_page.starts_with(".TH SEKRETA\\-CLI 1 \"\" \"sekreta\\-cli " SEKRETA_VERSION "\" \"User Commands\"\n"
                                   ".SH NAME\n"
                                   "sekreta\\-cli \\- Reaches the entries of a Sekreta file (.sek) from a terminal or "
                                   "a script\n"
                                   ".SH SYNOPSIS\n"
                                   "\\fBsekreta\\-cli\\fR \\fICOMMAND\\fR [\\fIOPTIONS\\fR] [\\fIARGUMENTS\\fR]\n"
                                   ".br\n"
                                   "\\fBsekreta\\-cli\\fR \\fB\\-\\-version\\fR\n"))
        << m_page;
    EXPECT_TRUE(m_page.ends_with(".SH EXIT STATUS\n0 success; 1 usage or input error; 2 not a Sekreta file, or a "
                                 "wrong pass phrase;\n3 a file could not be read or written, or another program was "
                                 "changing it (or the system failed).\n"))
        << m_page;
}

TEST_F(ManPageTest, ACommandHasItsSynopsisOptionsAndNotes)
{
    const std::string rm
        = ".SS \\fBsekreta\\-cli rm\\fR [\\fIOPTIONS\\fR] \\fIFILE\\fR \\fIENTRY\\fR\n"
          "Remove an entry; later entries move up.\n"
          ".TP\n\\fIFILE\\fR\nThe .sek file\n"
          ".TP\n\\fIENTRY\\fR\nThe entry's number as ls shows it, or its account name\n"
          ".TP\n\\fB\\-\\-passphrase\\-stdin\\fR\nRead the pass phrase from the first line of standard "
          "input\n"
          ".PP\nENTRY is an entry's number as ls shows it, counted from 1, or its account name: the "
          "exact\nname, else the one name equal to it ignoring case, else the one name that starts "
          "with it\nignoring case. A name that could mean several entries lists them.\n"
          ".PP\nThe pass phrase is asked on the terminal without echo, or read from the first line "
          "of\nstandard input with \\-\\-passphrase\\-stdin; it is never taken from the command line.\n"
          ".SS ";
    EXPECT_NE(m_page.find(rm), std::string::npos) << m_page;
    EXPECT_NE(m_page.find(".TP\n\\fB\\-o\\fR, \\fB\\-\\-output\\fR \\fITEXT\\fR\nWrite to this file; \\- is standard "
                          "output, the default\n"),
        std::string::npos);
    EXPECT_NE(m_page.find(".TP\n\\fB\\-\\-account\\fR \\fITEXT\\fR\nAccount name (required)\n"), std::string::npos);
    EXPECT_NE(m_page.find(".TP\n\\fB\\-\\-length\\fR \\fIN\\fR\nNumber of characters, 4 to 128 (default 8); only with "
                          "\\-\\-generate\n"),
        std::string::npos);
    EXPECT_NE(m_page.find("shown escaped (\\ex1b)"), std::string::npos) << "a backslash is roff's own escape";
}

TEST_F(ManPageTest, EveryCommandAndOptionOfTheHelpIsThere)
{
    for (const CommandParser::CommandEntry& entry : m_parser.Entries()) {
        EXPECT_NE(m_page.find(".SS \\fBsekreta\\-cli " + entry.app->get_name() + "\\fR"), std::string::npos)
            << entry.app->get_name();
        for (const CLI::Option* option : entry.app->get_options()) {
            std::string name;
            for (const char c : option->get_positional() ? option->get_name(true) : option->get_name()) {
                if (c == '-')
                    name += '\\';
                name += c;
            }
            if (name != "\\-\\-help") {
                EXPECT_NE(m_page.find(name), std::string::npos) << entry.app->get_name() << " " << name;
            }
        }
    }
}

TEST_F(ManPageTest, TheBuildWritesThisPage)
{
    const std::vector<std::uint8_t> built = test::ReadBytes(SEKRETA_MANPAGE_PATH);
    EXPECT_EQ(std::string(built.begin(), built.end()), m_page);
}

}  // namespace
}  // namespace sekreta::cli
