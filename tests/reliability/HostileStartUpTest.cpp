// What the program is started with, when it is not what the program wrote or expects: a
// settings file that is damaged, foreign or no file at all; saved placements and bar layouts
// far beyond any screen; command lines of thousands of arguments and paths of 10,000
// characters. None of it may crash the program; each gives the defaults, the clamped values,
// or the message for a bad path.
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "platform/posix/SettingsFile.h"

#include <climits>
#include <cstdlib>
#include <random>
#include <sys/stat.h>

namespace sekreta::test {
namespace {

const std::string kKey = "software\\Local AppWizard-Generated Applications\\Sekreta\\";
// Where a window without saved placement opens on the headless backend.
const platform::WindowPlacement kDefaultPlacement {1, {100, 100, 900, 700}};

// The program started on the real settings file, in a configuration folder of the test's own.
class SettingsFileStartUp : public ProgramTest {
protected:
    SettingsFileStartUp()
        : ProgramTest(false)
    {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        m_oldConfigHome = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        m_path = platform::SettingsFile::UserPath("settings.ini");
        std::filesystem::create_directories(m_path.parent_path());
    }
    ~SettingsFileStartUp() override
    {
        if (m_oldConfigHome)
            ::setenv("XDG_CONFIG_HOME", m_oldConfigHome->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }

    bool StartOnSettingsFile()
    {
        m_app.reset();
        m_settings = std::make_unique<platform::SettingsFile>(m_path);
        const platform::Platform platform {m_platform.windows, m_platform.files, m_platform.clipboard, m_platform.shell,
            *m_settings, m_platform.documentTypes, m_platform.random, m_platform.clock};
        m_app = std::make_unique<CSekretaApp>(platform, "/usr/bin/sekreta", std::vector<std::string> {});
        return m_app->InitInstance();
    }

    // Starts, checks that every setting read as its default, and closes as the user does.
    void StartWithDefaultsAndClose()
    {
        ASSERT_TRUE(StartOnSettingsFile());
        EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");
        EXPECT_EQ(Frame().GetPlacement(), kDefaultPlacement);
        EXPECT_TRUE(Frame().IsBarVisible(ID_VIEW_TOOLBAR));
        EXPECT_TRUE(Frame().IsBarVisible(ID_VIEW_STATUS_BAR));
        EXPECT_EQ(Frame().GetBarPlacement(ID_VIEW_TOOLBAR).side, platform::DockSide::Top);
        EXPECT_FALSE(Frame().GetBarPlacement(ID_VIEW_TOOLBAR).floating);
        std::vector<platform::HeadlessFrameWindow::ItemState> recent;
        for (const auto& item : Frame().OpenMenu("&File")) {
            if (item.id == ID_FILE_MRU_FILE1)
                recent.push_back(item);
        }
        ASSERT_EQ(recent.size(), 1u);
        EXPECT_EQ(recent[0].text, "Recent File");
        EXPECT_FALSE(recent[0].enabled);

        Frame().SetPlacement({1, {10, 20, 810, 620}});
        Frame().RequestClose();
        Exit();
    }

    // The placement the settings file holds after a close, if it can be read as settings.
    std::optional<std::uint32_t> SavedRight()
    {
        const std::optional<platform::RegistryValue> right
            = platform::SettingsFile(m_path).QueryValue(kKey + "Frame", "Right");
        if (!right || !std::holds_alternative<std::uint32_t>(*right))
            return std::nullopt;
        return std::get<std::uint32_t>(*right);
    }

    TemporaryFolder m_config;
    std::optional<std::string> m_oldConfigHome;
    std::filesystem::path m_path;
    std::unique_ptr<platform::SettingsFile> m_settings;
};

std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

TEST_F(SettingsFileStartUp, DamageLosesOnlyTheSettingsItTouchesAndTheNextWriteIsWhole)
{
    // What a program that closed normally leaves, to be damaged below.
    ASSERT_TRUE(StartOnSettingsFile());
    Frame().SetPlacement({3, {30, 40, 630, 540}});
    Frame().ShowBar(ID_VIEW_STATUS_BAR, false);
    Frame().RequestClose();
    Exit();
    m_app.reset();
    const std::vector<std::uint8_t> written = ReadBytes(m_path);
    ASSERT_GT(written.size(), 100u);

    std::mt19937 random(7);
    std::vector<std::uint8_t> noise(4096);
    for (std::uint8_t& byte : noise)
        byte = static_cast<std::uint8_t>(random());
    // A raw control byte is never part of a settings text.
    std::vector<std::uint8_t> damagedByte = written;
    damagedByte[damagedByte.size() / 2] = 0x01;
    // Cut inside a line.
    std::size_t cut = written.size() / 2;
    while (written[cut - 1] == '\n')
        ++cut;
    const std::string text = Text(written);
    std::string oversized = text;
    while (oversized.size() <= (1u << 20))
        oversized += "\n[junk\\" + std::to_string(oversized.size()) + "]\nValue=number:1\n";

    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> damaged = {
        {"random bytes", noise},
        {"empty", {}},
        {"an INI file of another program", Bytes("[General]\nwindowState=@ByteArray(AAAA)\ngeometry=1\n")},
        {"the Windows registry's export",
            Bytes("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Local AppWizard-Generated "
                  "Applications\\Sekreta\\Frame]\r\n\"Top\"=dword:00000014\r\n")},
        {"numbers out of range", Bytes("# Sekreta settings\n\n[" + kKey + "Frame]\nTop=number:99999999999\n")},
        {"larger than any settings", Bytes(oversized)},
    };
    for (const auto& [name, bytes] : damaged) {
        SCOPED_TRACE(name);
        WriteBytes(m_path, bytes);
        StartWithDefaultsAndClose();
        m_app.reset();
        EXPECT_EQ(SavedRight(), 810u) << "the close wrote a whole settings file again";
    }

    // Damage after the placement loses only what it touches: the window comes back maximised.
    for (const std::vector<std::uint8_t>& bytes :
        {damagedByte, std::vector<std::uint8_t>(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(cut)),
            Bytes(text + "\n[" + kKey.substr(0, kKey.size() - 1) + "\\Frame]\nTop=number:1\n")}) {
        WriteBytes(m_path, bytes);
        ASSERT_TRUE(StartOnSettingsFile());
        EXPECT_EQ(Frame().GetPlacement().showState, 3);
        m_app.reset();
    }
}

TEST_F(SettingsFileStartUp, ValuesOfTheWrongTypeReadAsTheirDefaults)
{
    WriteBytes(m_path,
        Bytes("# Sekreta settings\n\n[" + kKey
            + "Frame]\nBottom=text:600\nLeft=text:\nRight=text:%00\nStatus=text:1\n"
              "Top=text:abc\n\n["
            + kKey + "General-Summary]\nBars=text:3\n\n[" + kKey + "Recent File List]\nFile1=number:7\n"));
    StartWithDefaultsAndClose();
}

TEST_F(SettingsFileStartUp, AFolderAPipeOrALinkLoopInItsPlaceIsNeverReadNorWritten)
{
    const std::vector<std::pair<std::string, std::function<void()>>> places = {
        {"a folder", [&] { std::filesystem::create_directory(m_path); }},
        // Reading a pipe nobody writes into would wait for ever.
        {"a pipe", [&] { ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0); }},
        {"a link loop", [&] { std::filesystem::create_symlink(m_path.filename(), m_path); }},
    };
    for (const auto& [name, make] : places) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(m_path);
        make();
        StartWithDefaultsAndClose();
        m_app.reset();
        std::error_code ignored;
        EXPECT_FALSE(std::filesystem::is_regular_file(m_path, ignored)) << "left as it was";
    }
}

// Saved placements and bar layouts far beyond any screen, on the in-memory settings.
class AbsurdLayout : public ProgramTest {
protected:
    AbsurdLayout()
        : ProgramTest(false)
    {
    }

    void SetInt(const std::string& section, const std::string& entry, long long value)
    {
        m_platform.userSettings.SetValue(kKey + section, entry, static_cast<std::uint32_t>(value));
    }

    void SetPlacement(long long status, long long top, long long left, long long bottom, long long right)
    {
        SetInt("Frame", "Status", status);
        SetInt("Frame", "Top", top);
        SetInt("Frame", "Left", left);
        SetInt("Frame", "Bottom", bottom);
        SetInt("Frame", "Right", right);
    }

    bool Restart()
    {
        if (m_app) {
            Exit();
            m_app.reset();
        }
        return Start({});
    }
};

TEST_F(AbsurdLayout, APlacementBeyondTheScreenIsPulledBackToAnIconOnItsRightAndBottomEdges)
{
    // The headless screen is 1920 by 1080, its work area starts at the corner, icons are 32 pixels.
    SetPlacement(1, 1'000'000'000, 2'000'000'000, 1'000'000'600, 2'000'000'800);
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetPlacement(), (platform::WindowPlacement {1, {1888, 1048, 2688, 1648}}));

    // A negative position is kept, as far as a screen could reach.
    SetPlacement(1, -5000, -3000, -4400, -2200);
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetPlacement(), (platform::WindowPlacement {1, {-3000, -5000, -2200, -4400}}));
}

TEST_F(AbsurdLayout, EdgesAtTheEndsOfTheirRangeStartTheProgramWithoutOverflowing)
{
    // Edges so far apart that their difference is no longer a number of the settings' size.
    SetPlacement(1, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    ASSERT_TRUE(Restart());
    const platform::Rect huge = Frame().GetPlacement().normal;
    EXPECT_LE(huge.left, 1888);
    EXPECT_LE(huge.top, 1048);
    EXPECT_GT(huge.Width(), 0);
    EXPECT_GT(huge.Height(), 0);

    SetPlacement(1, INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetPlacement().normal.left, 1888);
    EXPECT_EQ(Frame().GetPlacement().normal.top, 1048);
    EXPECT_LT(Frame().GetPlacement().normal.Width(), 0) << "a negative size stays negative";
}

TEST_F(AbsurdLayout, AShowStateNoWindowKnowsStillShowsTheWindow)
{
    for (const long long status : {0LL, 4LL, 7LL, 12345LL, -5LL, static_cast<long long>(INT_MIN)}) {
        SCOPED_TRACE("Status " + std::to_string(status));
        SetPlacement(status, 20, 10, 620, 810);
        ASSERT_TRUE(Restart());
        EXPECT_TRUE(Frame().IsVisible());
        EXPECT_EQ(Frame().GetPlacement().normal, (platform::Rect {10, 20, 810, 620}));
    }
}

TEST_F(AbsurdLayout, ABarLayoutBeyondTheScreenIsScaledAndPulledBackWithoutWrappingAround)
{
    // Saved on a screen one pixel wide and high: the positions grow 1920 and 1080 times.
    SetInt("General-Summary", "Bars", 1);
    SetInt("General-Summary", "ScreenCX", 1);
    SetInt("General-Summary", "ScreenCY", 1);
    SetInt("General-Bar0", "BarID", ID_VIEW_TOOLBAR);
    SetInt("General-Bar0", "Floating", 1);
    SetInt("General-Bar0", "XPos", 2'000'000'000);
    SetInt("General-Bar0", "YPos", 3'000'000);
    ASSERT_TRUE(Restart());
    EXPECT_EQ(Frame().GetBarPlacement(ID_VIEW_TOOLBAR).position, (platform::Point {1888, 1048}));

    SetInt("General-Bar0", "XPos", -2'000'000'000);
    SetInt("General-Bar0", "YPos", -3'000'000);
    ASSERT_TRUE(Restart());
    const platform::Point far = Frame().GetBarPlacement(ID_VIEW_TOOLBAR).position;
    EXPECT_LT(far.x, 0) << "a negative position stays negative";
    EXPECT_LT(far.y, 0);
}

TEST_F(AbsurdLayout, NonsenseBarSectionsGiveAWorkingWindow)
{
    // Counts beyond any frame, below zero, and sections that do not say what they are.
    for (const long long bars : {1'000'000LL, 65LL, -3LL, 5LL}) {
        SCOPED_TRACE("Bars " + std::to_string(bars));
        SetInt("General-Summary", "Bars", bars);
        SetInt("General-Summary", "ScreenCX", -7);
        SetInt("General-Summary", "ScreenCY", 0);
        SetInt("General-Bar0", "BarID", 4'000'000'000);
        SetInt("General-Bar0", "Bars", 2'000'000'000);
        SetInt("General-Bar1", "BarID", ID_VIEW_TOOLBAR);
        SetInt("General-Bar1", "Docking", 1);
        SetInt("General-Bar1", "MRUDockID", 12345);
        SetInt("General-Bar1", "Horz", 0);
        SetInt("General-Bar2", "BarID", 59419);
        SetInt("General-Bar2", "Bars", 64);
        for (int slot = 0; slot < 64; ++slot)
            SetInt("General-Bar2", "Bar#" + std::to_string(slot),
                slot % 2 == 0 ? static_cast<long long>(ID_VIEW_TOOLBAR) : -1LL);
        ASSERT_TRUE(Restart());
        EXPECT_TRUE(Frame().IsVisible());
        EXPECT_TRUE(Frame().IsBarVisible(ID_VIEW_STATUS_BAR));
        EXPECT_TRUE(Frame().ChooseMenuItem(ID_VIEW_TOOLBAR));
        EXPECT_TRUE(Frame().ChooseMenuItem(ID_VIEW_TOOLBAR));
        Frame().RequestClose();
    }
}

// Command lines and paths beyond the ordinary, at start-up and later.
class HostileCommandLine : public ProgramTest {
protected:
    HostileCommandLine()
        : ProgramTest(false)
    {
    }

    // A single name of 10,000 characters, and a path of 10,000 characters in short parts.
    std::vector<std::string> LongPaths() const
    {
        std::string parts;
        while (parts.size() < 10'000)
            parts += "/part";
        parts.resize(10'000);
        return {(m_folder / std::string(10'000 - m_folder.Path().string().size() - 1, 'n')).string(), parts};
    }
};

TEST_F(HostileCommandLine, ThousandsOfArgumentsAreTakenAsTheRuleSays)
{
    // Switches and stray words by the thousand: no file is named, so an empty document.
    std::vector<std::string> switches;
    for (int i = 0; i < 5000; ++i)
        switches.push_back(i % 3 == 0 ? "-Embedding" : i % 3 == 1 ? "-nonsense" + std::to_string(i) : "/dde");
    ASSERT_TRUE(Start(switches));
    EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");
    Exit();
    m_app.reset();

    // The first of thousands of names is the file to open; the rest are ignored.
    std::vector<std::string> names;
    for (int i = 0; i < 10'000; ++i)
        names.push_back("missing" + std::to_string(i) + ".sek");
    ExpectMessage((m_folder / "missing0.sek").string() + " was not found.");
    EXPECT_FALSE(Start(names));
    EXPECT_TRUE(m_platform.windows.Frames().empty());
}

TEST_F(HostileCommandLine, APathOfTenThousandCharactersIsAnInvalidPath)
{
    for (const std::string& path : LongPaths()) {
        ASSERT_EQ(path.size(), 10'000u);
        ExpectMessage(path + " contains an invalid path.");
        EXPECT_FALSE(Start({path}));
        m_app.reset();
        ExpectMessage(path + " contains an invalid path.");
        EXPECT_FALSE(Start({"\"" + path + "\""})) << "quoted as a shell quotes it";
        m_app.reset();
        EXPECT_TRUE(m_platform.windows.Frames().empty());
    }
}

TEST_F(HostileCommandLine, APathOfTenThousandCharactersLaterIsRefusedWithTheSameWords)
{
    ASSERT_TRUE(Start({}));
    for (const std::string& path : LongPaths()) {
        ExpectMessage(path + " contains an invalid path.");
        EXPECT_TRUE(Frame().SendShellRequest("[open(\"" + path + "\")]"));
        ExpectFileDialog(path);
        ExpectMessage(path + " contains an invalid path.");
        Frame().ChooseMenuItem(ID_FILE_SAVE_AS);
        m_platform.windows.VerifyAllScriptsUsed();
        EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");
    }
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {});
}

}  // namespace
}  // namespace sekreta::test
