// Starting Sekreta and ending it: the settings it reads and writes, the document type it
// registers, its command line, and the window it comes back to.
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "resources/ResourceIds.h"

namespace sekreta::test {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

const std::vector<AccountRecord> kLetters = {{"Bank", "https://bank.example", "me", "s3cret", ""},
    {"Mail", "", "me@mail.example", "pw", ""}, {"Shop", "https://shop.example", "buyer", "x", ""}};

const std::string kKey = "software\\Local AppWizard-Generated Applications\\Sekreta\\";

const std::vector<std::string> kRegistration = {
    ".sek\\[] = \"Sekreta.Document\"",
    ".sek\\ShellNew\\[NullFile] = \"\"",
    "Sekreta.Document\\[] = \"Sekreta Document\"",
    "Sekreta.Document\\DefaultIcon\\[] = \"/usr/bin/sekreta,1\"",
    "Sekreta.Document\\shell\\open\\command\\[] = \"/usr/bin/sekreta \"%1\"\"",
    "Sekreta.Document\\shell\\print\\command\\[] = \"/usr/bin/sekreta /p \"%1\"\"",
    "Sekreta.Document\\shell\\printto\\command\\[] = \"/usr/bin/sekreta /pt \"%1\" \"%2\" \"%3\" \"%4\"\"",
};

class StartUp : public ProgramTest {
protected:
    StartUp()
        : ProgramTest(false)
    {
    }

    // Ends the running program as its message loop would, then starts it again.
    bool Restart(std::vector<std::string> arguments = {})
    {
        Exit();
        m_app.reset();
        return Start(std::move(arguments));
    }

    void Close()
    {
        Frame().RequestClose();
        EXPECT_TRUE(m_platform.windows.QuitRequested());
    }

    std::vector<std::string> SettingsUnder(const std::string& section)
    {
        std::vector<std::string> lines;
        for (const std::string& line : m_platform.userSettings.Dump()) {
            if (line.starts_with(kKey + section))
                lines.push_back(line.substr(kKey.size()));
        }
        return lines;
    }

    bool ToolBarItemChecked()
    {
        for (const auto& item : Frame().OpenMenu("&View")) {
            if (item.id == ID_VIEW_TOOLBAR)
                return item.checked;
        }
        ADD_FAILURE() << "no Toolbar item";
        return false;
    }
};

TEST_F(StartUp, AFirstStartReadsDefaultsAndWritesNothingButTheRegistration)
{
    ASSERT_TRUE(Start({}));
    EXPECT_TRUE(Frame().IsVisible());
    EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");
    EXPECT_EQ(Frame().GetPlacement().showState, 1);
    EXPECT_TRUE(Frame().IsBarVisible(ID_VIEW_TOOLBAR));
    EXPECT_TRUE(Frame().IsBarVisible(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(Frame().AcceptsDroppedFiles());

    // Reading opens every key on the way, and nothing more.
    EXPECT_EQ(m_platform.userSettings.Dump(),
        (std::vector<std::string> {
            kKey + "Frame", kKey + "General-Summary", kKey + "Recent File List", kKey + "Settings"}));
    EXPECT_EQ(m_platform.documentTypes.Classes().Dump(), kRegistration);
}

TEST_F(StartUp, ClosingWritesTheBarsAndThePlacementWithTheirExactNames)
{
    ASSERT_TRUE(Start({}));
    Frame().SetPlacement({1, {10, 20, 810, 620}});
    const int stores = m_platform.userSettings.Stores();
    Close();
    Exit();
    EXPECT_EQ(m_platform.userSettings.Stores(), stores + 2) << "one write as the window closes, one at exit";

    EXPECT_EQ(SettingsUnder("Frame"),
        (std::vector<std::string> {"Frame\\[Bottom] = 620", "Frame\\[Left] = 10", "Frame\\[Right] = 810",
            "Frame\\[Status] = 1", "Frame\\[Top] = 20"}));
    EXPECT_EQ(SettingsUnder("General"),
        (std::vector<std::string> {
            "General-Bar0\\[BarID] = 59392",
            "General-Bar0\\[Docking] = 1",
            "General-Bar0\\[MRUDockBottomPos] = 0",
            "General-Bar0\\[MRUDockID] = 59419",
            "General-Bar0\\[MRUDockLeftPos] = 0",
            "General-Bar0\\[MRUDockRightPos] = 0",
            "General-Bar0\\[MRUDockTopPos] = 0",
            "General-Bar0\\[MRUFloatStyle] = 0",
            "General-Bar0\\[MRUFloatXPos] = 0",
            "General-Bar0\\[MRUFloatYPos] = 0",
            "General-Bar1\\[BarID] = 59393",
            "General-Bar2\\[Bar#0] = 0",
            "General-Bar2\\[Bar#1] = 59392",
            "General-Bar2\\[Bar#2] = 0",
            "General-Bar2\\[BarID] = 59419",
            "General-Bar2\\[Bars] = 3",
            "General-Summary\\[Bars] = 3",
            "General-Summary\\[ScreenCX] = 1920",
            "General-Summary\\[ScreenCY] = 1080",
        }));
}

TEST_F(StartUp, ClosedMaximisedItComesBackMaximisedOverItsEarlierRectangle)
{
    ASSERT_TRUE(Start({}));
    Frame().SetPlacement({1, {10, 20, 810, 620}});
    Frame().Show(platform::ShowCommand::Maximized);
    Close();

    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetPlacement(), (platform::WindowPlacement {3, {10, 20, 810, 620}}));

    Frame().Show(platform::ShowCommand::Minimized);
    Close();
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetPlacement().showState, 2);
}

TEST_F(StartUp, APlacementOffTheScreenKeepsACornerOnItAndAPartialOneIsIgnored)
{
    const std::string frame = kKey + "Frame";
    for (const auto& [entry, value] :
        {std::pair {"Status", 1}, {"Top", 5000}, {"Left", -300}, {"Bottom", 5600}, {"Right", 500}})
        m_platform.userSettings.SetValue(frame, entry, static_cast<std::uint32_t>(value));
    ASSERT_TRUE(Start({}));
    // The work area starts at the screen's corner here: 1080 - 32 is the lowest top edge.
    EXPECT_EQ(Frame().GetPlacement(), (platform::WindowPlacement {1, {-300, 1048, 500, 1648}}));

    m_platform.userSettings.DeleteValue(frame, "Bottom");
    Exit();
    m_app.reset();
    ASSERT_TRUE(Start({}));
    EXPECT_EQ(Frame().GetPlacement(), (platform::WindowPlacement {1, {100, 100, 900, 700}})) << "the backend's own";
}

TEST_F(StartUp, CancelAtTheSavePromptKeepsTheWindowAndThePlacementItWrote)
{
    ASSERT_TRUE(Start({}));
    Doc().SetModifiedFlag(true);
    Frame().SetPlacement({1, {30, 40, 630, 540}});
    ExpectMessage("Save changes to Untitled?", IDCANCEL);
    Frame().RequestClose();
    EXPECT_TRUE(Frame().IsVisible());
    EXPECT_FALSE(m_platform.windows.QuitRequested());

    // The program is killed: only what the close attempt wrote is there next time.
    m_app.reset();
    ASSERT_TRUE(Start({}));
    EXPECT_EQ(Frame().GetPlacement(), (platform::WindowPlacement {1, {30, 40, 630, 540}}));
}

TEST_F(StartUp, AHiddenToolBarStaysHiddenAndAFloatingOneComesBackFloating)
{
    ASSERT_TRUE(Start({}));
    EXPECT_TRUE(ToolBarItemChecked());
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(ToolBarItemChecked());
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_VIEW_STATUS_BAR));
    Close();

    ASSERT_TRUE(Restart());
    EXPECT_FALSE(Frame().IsBarVisible(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(Frame().IsBarVisible(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(ToolBarItemChecked());

    Frame().SetBarPlacement(ID_VIEW_TOOLBAR, {true, true, platform::DockSide::Left, {700, 300}, false});
    Close();
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetBarPlacement(ID_VIEW_TOOLBAR),
        (platform::BarPlacement {true, true, platform::DockSide::Left, {700, 300}, false}));

    Frame().SetBarPlacement(ID_VIEW_TOOLBAR, {true, false, platform::DockSide::Right, {-1, -1}, true});
    Close();
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetBarPlacement(ID_VIEW_TOOLBAR).side, platform::DockSide::Right);
}

TEST_F(StartUp, BarPositionsFollowTheScreenAndStayOnIt)
{
    ASSERT_TRUE(Start({}));
    Frame().SetScreenSize({3840, 2160});
    Frame().SetBarPlacement(ID_VIEW_TOOLBAR, {true, true, platform::DockSide::Top, {1920, 2140}, true});
    Close();
    // Back on a screen of 1920 by 1080: halved, then pulled back an icon's size inside the bottom edge.
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetBarPlacement(ID_VIEW_TOOLBAR).position, (platform::Point {960, 1048}));
}

TEST_F(StartUp, ANameOnTheCommandLineOpensInPlaceOfAnEmptyDocument)
{
    const auto letters = WriteFile("Letters.sek", kLetters, "abcd");
    WriteFile("Other.sek", {}, "abcd");
    ExpectPassPhrase("abcd");
    ASSERT_TRUE(Start({letters.string(), "Other.sek"}));

    EXPECT_EQ(Frame().Caption(), "Letters.sek - Sekreta");
    EXPECT_EQ(ListAccounts(), (std::vector<std::string> {"Bank", "Mail", "Shop"}));
    EXPECT_EQ(Frame().HeadlessList().SelectedRow(), 2);
    EXPECT_TRUE(Frame().IsVisible());
}

TEST_F(StartUp, AQuotedNameFromTheCommandLineLosesItsQuotes)
{
    WriteFile("a.sek", kLetters, "abcd");
    ExpectPassPhrase("abcd");
    ASSERT_TRUE(Start({"\"a.sek\""}));
    EXPECT_EQ(Doc().GetPathName(), (m_folder / "a.sek").string());

    WriteFile("q\"uote.sek", kLetters, "abcd");
    ExpectPassPhrase("abcd");
    ASSERT_TRUE(Restart({"q\"uote.sek"}));
    EXPECT_EQ(Doc().GetPathName(), (m_folder / "q\"uote.sek").string());
}

TEST_F(StartUp, SwitchesFollowTheirCaseRulesAndASlashNameIsAFileUnlessItIsASwitch)
{
    ASSERT_TRUE(Start({"-P"}));
    EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta") << "-P is no switch of ours and is ignored";

    ExpectMessage("/P was not found.");
    EXPECT_FALSE(Restart({"/P"}));
    EXPECT_TRUE(m_platform.windows.Frames().empty());

    ASSERT_TRUE(Restart({"/dde"}));
    EXPECT_TRUE(Frame().IsVisible());
}

TEST_F(StartUp, UnregisteringInAnyCaseRemovesOurKeysAndLeavesNoSettings)
{
    ASSERT_TRUE(Start({}));
    Close();
    Exit();
    m_app.reset();
    m_platform.userSettings.SetValue(
        "software\\Local AppWizard-Generated Applications\\Another", "Kept", static_cast<std::uint32_t>(1));

    ExpectMessage("System registry entries have been removed and the INI file (if any) was deleted.");
    EXPECT_FALSE(Start({"/UNREGISTER"}));
    Exit();
    EXPECT_EQ(m_platform.userSettings.Dump(),
        std::vector<std::string> {"software\\Local AppWizard-Generated Applications\\Another\\[Kept] = 1"});
    EXPECT_EQ(m_platform.documentTypes.Classes().Dump(), std::vector<std::string> {});

    m_platform.userSettings.DeleteKey("software\\Local AppWizard-Generated Applications\\Another");
    ExpectMessage("System registry entries have been removed and the INI file (if any) was deleted.");
    m_app.reset();
    EXPECT_FALSE(Start({"-unregserver"}));
    Exit();
    EXPECT_EQ(m_platform.userSettings.Dump(), std::vector<std::string> {"software"})
        << "the registry key goes when nothing else is left in it";
}

TEST_F(StartUp, ASekAssociatedWithAnotherTypeStaysSo)
{
    m_platform.documentTypes.Classes().SetValue(".sek", "", std::string("Other.Document"));
    ASSERT_TRUE(Start({}));
    EXPECT_EQ(m_platform.documentTypes.Association(".sek"), "Other.Document");
    EXPECT_FALSE(m_platform.documentTypes.Classes().KeyExists(".sek\\ShellNew"));
    EXPECT_TRUE(m_platform.documentTypes.Classes().KeyExists("Sekreta.Document\\shell\\open\\command"));

    ExpectMessage("System registry entries have been removed and the INI file (if any) was deleted.");
    EXPECT_FALSE(Restart({"/Unregister"}));
    EXPECT_EQ(m_platform.documentTypes.Classes().Dump(), std::vector<std::string> {".sek\\[] = \"Other.Document\""});
}

TEST_F(StartUp, TheFirstFailingRegistrationWriteStopsTheRestSilently)
{
    m_platform.documentTypes.Classes().FailValueWriteAfter(2);
    ASSERT_TRUE(Start({}));
    EXPECT_EQ(m_platform.documentTypes.Classes().Dump(),
        (std::vector<std::string> {"Sekreta.Document\\[] = \"Sekreta Document\"",
            "Sekreta.Document\\DefaultIcon\\[] = \"/usr/bin/sekreta,1\""}));
}

TEST_F(StartUp, AFileThatDoesNotOpenEndsTheProgramWithoutAWindow)
{
    ExpectMessage((m_folder / "missing.sek").string() + " was not found.");
    EXPECT_FALSE(Start({"missing.sek"}));
    EXPECT_TRUE(m_platform.windows.Frames().empty());
    EXPECT_EQ(m_app->ExitInstance(), 1) << "the exit status tells the failure";

    const auto letters = WriteFile("Letters.sek", kLetters, "abcd");
    ExpectPassPhrase("wrong");
    ExpectMessage("Unexpected file format.");
    m_app.reset();
    EXPECT_FALSE(Start({"Letters.sek"}));
    EXPECT_TRUE(m_platform.windows.Frames().empty());

    ExpectPassPhraseCancelled();
    ExpectMessage("Access to " + letters.string() + " was denied.");
    m_app.reset();
    EXPECT_FALSE(Start({"Letters.sek"}));
    EXPECT_TRUE(m_platform.windows.Frames().empty());
}

TEST_F(StartUp, PrintingOpensTheFileAndEnds)
{
    WriteFile("Letters.sek", kLetters, "abcd");
    ExpectPassPhrase("abcd");
    EXPECT_FALSE(Start({"/p", "Letters.sek"}));
    EXPECT_EQ(m_app->ExitInstance(), 0);
}

TEST_F(StartUp, TheStatusBarShowsReadyThePromptsAndTheTips)
{
    ASSERT_TRUE(Start({}));
    Frame().HighlightMenuItem(ID_EDIT_ADD);
    EXPECT_EQ(Frame().StatusText(), "Add a new password");
    Frame().HighlightMenuItem(ID_TOOLS_GENERATEPASSWORD);
    EXPECT_EQ(Frame().StatusText(), "");
    Frame().HighlightMenuItem(0);
    EXPECT_EQ(Frame().StatusText(), "Ready");
    EXPECT_EQ(Frame().RestOnToolBarButton(ID_EDIT_COPYUSERNAME), "Copy username");
    EXPECT_EQ(Frame().StatusText(), "Copy account username to clipboard");
    EXPECT_EQ(Frame().RestOnToolBarButton(ID_APP_ABOUT), "About");
}

TEST_F(StartUp, HelpTopicsOpensTheGuideOrSaysItCannot)
{
    ASSERT_TRUE(Start({}));
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_HELP_FINDER));
    EXPECT_EQ(m_platform.shell.HelpShown(), 1);

    m_platform.shell.SetShowHelpSucceeds(false);
    ExpectMessage("Failed to launch help.");
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_HELP_FINDER));
}

TEST_F(StartUp, LoggingOffAsksForChangesAndEndsWithoutWritingThePlacement)
{
    ASSERT_TRUE(Start({}));
    Doc().SetModifiedFlag(true);
    ExpectMessage("Save changes to Untitled?", IDCANCEL);
    EXPECT_FALSE(Frame().LogOff());
    EXPECT_FALSE(m_platform.windows.QuitRequested());

    ExpectMessage("Save changes to Untitled?", platform::IDNO);
    EXPECT_TRUE(Frame().LogOff());
    EXPECT_TRUE(m_platform.windows.QuitRequested());
    EXPECT_EQ(SettingsUnder("Frame\\["), std::vector<std::string> {});
}

}  // namespace
}  // namespace sekreta::test
