#include "framework/CCommandLineInfo.h"
#include "framework/ShellRequest.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace sekreta {
namespace {

CCommandLineInfo Parse(std::vector<std::string_view> arguments, std::set<std::string_view> files = {})
{
    CCommandLineInfo info([files](std::string_view name) { return files.contains(name); });
    for (const std::string_view argument : arguments)
        info.ParseParam(argument);
    info.ParseLast();
    return info;
}

TEST(CommandLine, SwitchesKeepTheirCaseRules)
{
    EXPECT_EQ(Parse({}).m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_EQ(Parse({"/p", "a.sek"}).m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(Parse({"-P", "a.sek"}).m_nShellCommand, CCommandLineInfo::FileOpen) << "-P is ignored";
    EXPECT_EQ(Parse({"-uNrEgIsTeR"}).m_nShellCommand, CCommandLineInfo::AppUnregister);
    EXPECT_EQ(Parse({"/Unregserver"}).m_nShellCommand, CCommandLineInfo::AppUnregister);
    EXPECT_EQ(Parse({"-DDE"}).m_nShellCommand, CCommandLineInfo::FileNew);

    const CCommandLineInfo dde = Parse({"/dde"});
    EXPECT_EQ(dde.m_nShellCommand, CCommandLineInfo::FileDDE);
    EXPECT_FALSE(dde.m_bUnderUserControl);

    const CCommandLineInfo embedded = Parse({"-embedding", "/AUTOMATION", "a.sek"});
    EXPECT_TRUE(embedded.m_bRunEmbedded);
    EXPECT_TRUE(embedded.m_bRunAutomated);
    EXPECT_FALSE(embedded.m_bUnderUserControl);
    EXPECT_EQ(embedded.m_nShellCommand, CCommandLineInfo::FileOpen);
}

TEST(CommandLine, ASlashBeginsAPathUnlessItNamesASwitchAndNoFile)
{
    const CCommandLineInfo path = Parse({"/home/u/a.sek"});
    EXPECT_EQ(path.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(path.m_strFileName, "/home/u/a.sek");

    EXPECT_EQ(Parse({"/P"}).m_strFileName, "/P") << "not a switch under its case rule";
    const CCommandLineInfo file = Parse({"/p"}, {"/p"});
    EXPECT_EQ(file.m_nShellCommand, CCommandLineInfo::FileOpen) << "a file of that name exists";
    EXPECT_EQ(file.m_strFileName, "/p");
    EXPECT_EQ(Parse({"-/p"}).m_strFileName, "") << "a dash always begins a switch";
}

TEST(CommandLine, OnlyPrintingToAPrinterTakesMoreThanOneName)
{
    const CCommandLineInfo printTo = Parse({"/pt", "a.sek", "Office", "winspool", "LPT1:", "extra"});
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strFileName, "a.sek");
    EXPECT_EQ(printTo.m_strPrinterName, "Office");
    EXPECT_EQ(printTo.m_strDriverName, "winspool");
    EXPECT_EQ(printTo.m_strPortName, "LPT1:");

    const CCommandLineInfo open = Parse({"a.sek", "b.sek"});
    EXPECT_EQ(open.m_strFileName, "a.sek");
    EXPECT_EQ(open.m_strPrinterName, "");
}

TEST(ShellRequests, AreReadUpToTheirClosingQuotes)
{
    const auto open = ShellRequest::Parse("[open(\"/a b/c.sek\")]");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->kind, ShellRequest::Kind::Open);
    EXPECT_EQ(open->path, "/a b/c.sek");

    const auto print = ShellRequest::Parse("[print(\"/c.sek\")]");
    ASSERT_TRUE(print);
    EXPECT_EQ(print->kind, ShellRequest::Kind::Print);

    const auto printTo = ShellRequest::Parse("[printto(\"/c.sek\",\"Office\",\"winspool\",\"LPT1:\")]");
    ASSERT_TRUE(printTo);
    EXPECT_EQ(printTo->kind, ShellRequest::Kind::PrintTo);
    EXPECT_EQ(printTo->path, "/c.sek");
    EXPECT_EQ(printTo->printer, "Office");
    EXPECT_EQ(printTo->driver, "winspool");
    EXPECT_EQ(printTo->port, "LPT1:");
}

TEST(ShellRequests, AnythingElseIsRefused)
{
    for (const std::string_view request : {"", "[open(", "[open(\"/c.sek", "[open(/c.sek)]", "[Open(\"/c.sek\")]",
             " [open(\"/c.sek\")]", "[printto(\"/c.sek\")]", "[printto(\"/c.sek\",\"Office\",\"winspool\")]",
             "[printto(\"/c.sek\",\"Office\",\"winspool\",\"LPT1:)]", "[new(\"/c.sek\")]"})
        EXPECT_FALSE(ShellRequest::Parse(request)) << request;
}

}  // namespace
}  // namespace sekreta
