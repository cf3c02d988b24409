#include "platform/posix/SettingsFile.h"

#include "support/TemporaryFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sekreta::platform {
namespace {

using namespace std::string_literals;
using test::TemporaryFolder;
using Lines = std::vector<std::string>;

constexpr std::string_view kSettingsKey = "software\\Local AppWizard-Generated Applications\\Sekreta";

std::string ReadText(const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteText(const std::filesystem::path& path, std::string_view text)
{
    test::WriteBytes(path, {text.begin(), text.end()});
}

std::string AllBytes()
{
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte)
        bytes += static_cast<char>(byte);
    return bytes;
}

TEST(SettingsTextTest, IsWrittenByteForByteAndReadBack)
{
    SettingsKey root;
    root.values = {{"", std::string("root default")}};
    SettingsKey sekreta {"Sekreta", {}, {}};
    sekreta.subkeys = {
        {"Frame", {{"Left", 4294967295u}, {"Top", 0u}}, {}},
        {"Recent File List", {{"File1", std::string("/home/me/a=b [1] 100%\\x.sek")}}, {}},
        {"Settings", {}, {}},
    };
    root.subkeys = {{"software", {}, {{"Local AppWizard-Generated Applications", {}, {sekreta}}}},
        {"We\\ird=[key]%", {{"Line\nBreak", std::string("tab\there\r\n\x7f\xe4")}}, {}}};

    const std::string text = FormatSettings(root);
    EXPECT_EQ(text,
        "# Sekreta settings\n"
        "=text:root default\n"
        "\n"
        "[software\\Local AppWizard-Generated Applications\\Sekreta\\Frame]\n"
        "Left=number:4294967295\n"
        "Top=number:0\n"
        "\n"
        "[software\\Local AppWizard-Generated Applications\\Sekreta\\Recent File List]\n"
        "File1=text:/home/me/a%3Db %5B1%5D 100%25%5Cx.sek\n"
        "\n"
        "[software\\Local AppWizard-Generated Applications\\Sekreta\\Settings]\n"
        "\n"
        "[We%5Cird%3D%5Bkey%5D%25]\n"
        "Line%0ABreak=text:tab%09here%0D%0A%7F\xe4\n");
    EXPECT_EQ(ParseSettings(text), root);
    EXPECT_EQ(FormatSettings(SettingsKey {}), "# Sekreta settings\n");
}

TEST(SettingsTextTest, ALineThatDoesNotParseIsSkippedAndNothingElse)
{
    std::string tooDeep = "[k";
    for (std::size_t depth = 1; depth <= kSettingsMaxDepth; ++depth)
        tooDeep += "\\k";
    // A section header that does not parse takes its values with it.
    for (const std::string& damage : {"x"s, "x=1"s, "x=number:"s, "x=number:-1"s, "x=number:4294967296"s,
             "x=number:00000000001"s, "x=number: 1"s, "x=text:a=b"s, "x=text:100%"s, "x=text:%4"s, "x=text:%G0"s,
             "x=text:tab\there"s, "x=text:nul\0byte"s, "[a"s, "[]\nx=number:2"s, "[a\\\\b]\nx=number:2"s,
             "[\\a]\nx=number:2"s, "[a%ZZ]\nx=number:2"s, "[a]b]\nx=number:2"s, tooDeep + "]\nx=number:2"}) {
        EXPECT_EQ(FormatSettings(ParseSettings("[a]\nx=number:1\n" + damage + "\n[b]\ny=text:2")),
            "# Sekreta settings\n\n[a]\nx=number:1\n\n[b]\ny=text:2\n")
            << damage;
    }
    EXPECT_EQ(FormatSettings(ParseSettings("[a]\r\nx=number:1\r\n[b]\r\n[A]\r\nx=number:2\r\ny=text:z")),
        "# Sekreta settings\n\n[a]\nx=number:2\ny=text:z\n\n[b]\n")
        << "CR LF, no last line end, a section and a value given twice";
}

TEST(SettingsFileTest, KeepsTheRegistryRulesAcrossRuns)
{
    TemporaryFolder folder;
    const auto path = folder / "config" / "sekreta" / "settings.ini";
    {
        SettingsFile settings(path);
        ASSERT_TRUE(settings.SetValue("Software\\Sekreta\\Frame", "Top", 120u));
        ASSERT_TRUE(settings.SetValue("SOFTWARE\\sekreta\\FRAME", "TOP", 130u));
        ASSERT_TRUE(settings.SetValue("Software\\Sekreta\\Frame", "Name", std::string("130")));
        ASSERT_TRUE(settings.SetValue("\\software\\\\Sekreta\\", "", AllBytes()));
        for (const char* name : {"b", "A", "c"})
            ASSERT_TRUE(settings.CreateKey(std::string("Software\\Sekreta\\Recent\\") + name));
    }
    SettingsFile settings(path);
    EXPECT_EQ(settings.QueryValue("software\\SEKRETA\\frame", "top"), RegistryValue(130u));
    EXPECT_EQ(settings.QueryValue("software\\sekreta\\frame", "name"), RegistryValue(std::string("130")));
    EXPECT_EQ(settings.QueryValue("Software\\Sekreta", ""), RegistryValue(AllBytes()));
    EXPECT_EQ(settings.QueryValue("Software\\Sekreta", "Top"), std::nullopt);
    EXPECT_EQ(settings.SubkeyNames("software\\sekreta\\recent"), (Lines {"A", "b", "c"}));
    EXPECT_EQ(settings.SubkeyNames("Software"), (Lines {"Sekreta"}));
    EXPECT_TRUE(settings.KeyExists("Software\\Sekreta\\Recent\\B"));
    EXPECT_TRUE(settings.KeyExists(""));

    EXPECT_TRUE(settings.DeleteKey("software\\SEKRETA\\recent"));
    EXPECT_FALSE(settings.DeleteKey("Software\\Sekreta\\Recent"));
    EXPECT_FALSE(settings.DeleteKey(""));
    EXPECT_FALSE(settings.DeleteValue("Software\\Sekreta\\Frame", "missing"));
    EXPECT_TRUE(settings.DeleteValue("Software\\Sekreta\\Frame", "name"));
    EXPECT_FALSE(SettingsFile(path).KeyExists("Software\\Sekreta\\Recent"));
    EXPECT_EQ(SettingsFile(path).QueryValue("Software\\Sekreta\\Frame", "Name"), std::nullopt);

    std::string deep = "k";
    for (std::size_t depth = 1; depth < kSettingsMaxDepth; ++depth)
        deep += "\\k";
    EXPECT_TRUE(settings.SetValue(deep, "x", 1u));
    EXPECT_FALSE(settings.CreateKey(deep + "\\k"));
    EXPECT_FALSE(settings.SetValue(deep + "\\k", "x", 1u));
    EXPECT_EQ(SettingsFile(path).QueryValue(deep, "x"), RegistryValue(1u));
}

TEST(SettingsFileTest, IsWrittenWholeAndPrivatelyAndGoesWithItsLastValue)
{
    TemporaryFolder folder;
    const auto path = folder / "config" / "sekreta" / "settings.ini";
    SettingsFile settings(path);

    // What the first start does: every read opens its section, and nothing reaches the disk.
    const std::string frame = std::string(kSettingsKey) + "\\Frame";
    const std::string recent = std::string(kSettingsKey) + "\\Recent File List";
    ASSERT_TRUE(settings.CreateKey(recent));
    ASSERT_TRUE(settings.CreateKey(frame));
    EXPECT_TRUE(settings.KeyExists(frame));
    EXPECT_FALSE(std::filesystem::exists(folder / "config"));

    ASSERT_TRUE(settings.SetValue(frame, "Top", 10u));
    EXPECT_EQ(ReadText(path),
        "# Sekreta settings\n"
        "\n"
        "[software\\Local AppWizard-Generated Applications\\Sekreta\\Frame]\n"
        "Top=number:10\n"
        "\n"
        "[software\\Local AppWizard-Generated Applications\\Sekreta\\Recent File List]\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1)
        << "no temporary file is left";
    EXPECT_EQ(std::filesystem::status(path).permissions(),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::filesystem::status(path.parent_path()).permissions(), std::filesystem::perms::owner_all);

    // Writing what is there already leaves the file alone.
    const auto written = std::filesystem::last_write_time(path);
    struct stat before { };
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_TRUE(settings.SetValue(frame, "top", 10u));
    ASSERT_TRUE(settings.CreateKey(recent));
    struct stat after { };
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(std::filesystem::last_write_time(path), written);

    // The unregister run: the settings key goes, then its parent without subkeys; so does the file.
    ASSERT_TRUE(settings.DeleteKey(kSettingsKey));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(settings.SubkeyNames("software\\Local AppWizard-Generated Applications").empty());
    EXPECT_TRUE(settings.DeleteKey("software\\Local AppWizard-Generated Applications"));
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_TRUE(settings.SetValue(frame, "Top", 10u));
    ASSERT_TRUE(settings.DeleteValue(frame, "Top"));
    EXPECT_FALSE(std::filesystem::exists(path)) << "a tree without values is no file";
}

TEST(SettingsFileTest, WhatCanBeReadIsKeptAndTheRestLeftOutOfTheNextWrite)
{
    TemporaryFolder folder;
    const auto path = folder / "settings.ini";
    const std::pair<std::string, bool> files[] = {{"# Sekreta settings\r\n[Frame]\r\nTop=number:1", true},
        {"[Frame]\nTop=1\nLeft=x\n\x01\nTop=number:1\n", true}, {AllBytes(), false},
        {std::string(3 << 20, 'x'), false}};
    for (const auto& [text, top] : files) {
        WriteText(path, text);
        SettingsFile settings(path);
        EXPECT_EQ(settings.QueryValue("Frame", "Top"), top ? std::optional<RegistryValue>(1u) : std::nullopt);
        EXPECT_TRUE(settings.CreateKey("Frame"));
        EXPECT_FALSE(settings.DeleteValue("Frame", "Left"));
        EXPECT_EQ(ReadText(path), text) << "reading never destroys the file";
        ASSERT_TRUE(settings.SetValue("Frame", "Left", 2u));
        EXPECT_EQ(ReadText(path),
            "# Sekreta settings\n\n[Frame]\nLeft=number:2\n" + std::string(top ? "Top=number:1\n" : ""));
    }
}

TEST(SettingsFileTest, ABatchIsWrittenOnceAtItsOutermostEnd)
{
    TemporaryFolder folder;
    const auto path = folder / "settings.ini";
    SettingsFile settings(path);
    ASSERT_TRUE(settings.SetValue("Frame", "Top", 1u));
    settings.BeginBatch();
    settings.BeginBatch();
    ASSERT_TRUE(settings.SetValue("Frame", "Top", 2u));
    ASSERT_TRUE(settings.DeleteKey("Frame"));
    ASSERT_TRUE(settings.SetValue("Bars", "X", 7u));
    EXPECT_EQ(settings.QueryValue("Bars", "X"), RegistryValue(7u)) << "reads see the batch";
    EXPECT_TRUE(settings.EndBatch());
    EXPECT_EQ(ReadText(path), "# Sekreta settings\n\n[Frame]\nTop=number:1\n");
    EXPECT_TRUE(settings.EndBatch());
    EXPECT_EQ(ReadText(path), "# Sekreta settings\n\n[Bars]\nX=number:7\n");
}

TEST(SettingsFileTest, ChangesByAnotherProcessAreSeen)
{
    TemporaryFolder folder;
    const auto path = folder / "settings.ini";
    SettingsFile running(path);
    SettingsFile other(path);
    ASSERT_TRUE(running.SetValue("Frame", "Top", 1u));
    ASSERT_TRUE(other.SetValue("Frame", "Left", 2u));
    EXPECT_EQ(running.QueryValue("Frame", "Left"), RegistryValue(2u));

    // Another run unregisters while this one runs: what this one writes later starts afresh.
    ASSERT_TRUE(other.DeleteKey("Frame"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(running.KeyExists("Frame"));
    ASSERT_TRUE(running.SetValue("Settings", "PreviewPages", 3u));
    EXPECT_EQ(ReadText(path), "# Sekreta settings\n\n[Settings]\nPreviewPages=number:3\n");
}

TEST(SettingsFileTest, FollowsALinkAndNeverTouchesWhatIsNoRegularFile)
{
    TemporaryFolder folder;
    std::filesystem::create_directory(folder / "dotfiles");
    std::filesystem::create_symlink(folder / "dotfiles" / "real.ini", folder / "link.ini");
    {
        SettingsFile settings(folder / "link.ini");
        ASSERT_TRUE(settings.SetValue("Frame", "Top", 1u));
        EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ini"));
        EXPECT_EQ(ReadText(folder / "dotfiles" / "real.ini"), "# Sekreta settings\n\n[Frame]\nTop=number:1\n");
    }
    std::filesystem::create_symlink("dotfiles/real.ini", folder / "relative.ini");
    ASSERT_EQ(::chmod((folder / "dotfiles" / "real.ini").c_str(), 0640), 0);
    ASSERT_TRUE(SettingsFile(folder / "relative.ini").SetValue("Frame", "Top", 2u));
    EXPECT_EQ(ReadText(folder / "dotfiles" / "real.ini"), "# Sekreta settings\n\n[Frame]\nTop=number:2\n");
    EXPECT_EQ(static_cast<unsigned>(std::filesystem::status(folder / "dotfiles" / "real.ini").permissions()), 0640u);

    // A pipe would block a reader forever; a folder cannot be read at all.
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(folder / "folder");
    for (const char* name : {"pipe", "folder"}) {
        SettingsFile settings(folder / name);
        EXPECT_EQ(settings.QueryValue("Frame", "Top"), std::nullopt);
        EXPECT_FALSE(settings.SetValue("Frame", "Top", 1u)) << name;
        settings.BeginBatch();
        EXPECT_FALSE(settings.SetValue("Frame", "Top", 1u)) << "refused at once in a batch too";
        EXPECT_TRUE(settings.EndBatch());
        EXPECT_EQ(settings.QueryValue("Frame", "Top"), std::nullopt) << "a failed write changes nothing";
    }
    EXPECT_EQ(std::filesystem::status(folder / "pipe").type(), std::filesystem::file_type::fifo);

    // A folder that cannot be made fails the write and keeps what was there.
    WriteText(folder / "plain", "x");
    SettingsFile blocked(folder / "plain" / "settings.ini");
    EXPECT_FALSE(blocked.SetValue("Frame", "Top", 1u));
    EXPECT_FALSE(blocked.KeyExists("Frame"));
}

TEST(SettingsFileTest, LivesInTheUsersConfigurationFolder)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "/";

    ::setenv("XDG_CONFIG_HOME", "/tmp/conf", 1);
    EXPECT_EQ(SettingsFile::UserPath("settings.ini"), "/tmp/conf/sekreta/settings.ini");
    for (const char* ignored : {"", "relative/conf"}) {
        ::setenv("XDG_CONFIG_HOME", ignored, 1);
        EXPECT_EQ(SettingsFile::UserPath("settings.ini"), std::filesystem::path(home) / ".config/sekreta/settings.ini");
    }
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFile::UserPath("settings.ini"), std::filesystem::path(home) / ".config/sekreta/settings.ini");

    if (saved)
        ::setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
}

}  // namespace
}  // namespace sekreta::platform
