#include "platform/headless/HeadlessRegistry.h"

#include <gtest/gtest.h>

namespace sekreta::platform {
namespace {

using Lines = std::vector<std::string>;

TEST(HeadlessRegistryTest, NamesIgnoreCaseButKeepTheirFirstSpelling)
{
    HeadlessRegistry registry;
    ASSERT_TRUE(registry.SetValue("Software\\Sekreta\\Settings", "Width", 640u));
    ASSERT_TRUE(registry.SetValue("SOFTWARE\\sekreta\\SETTINGS", "WIDTH", 800u));
    ASSERT_TRUE(registry.SetValue("\\software\\\\Sekreta\\", "", std::string("default")));

    EXPECT_EQ(registry.QueryValue("software\\SEKRETA\\settings", "width"), RegistryValue(800u));
    EXPECT_EQ(registry.QueryValue("Software\\Sekreta", ""), RegistryValue(std::string("default")));
    EXPECT_EQ(registry.QueryValue("Software\\Sekreta", "Width"), std::nullopt);
    EXPECT_EQ(
        registry.Dump(), (Lines {"Software\\Sekreta\\[] = \"default\"", "Software\\Sekreta\\Settings\\[Width] = 800"}));

    for (const char* name : {"b", "A", "c"})
        registry.CreateKey(std::string("Software\\Sekreta\\Recent\\") + name);
    EXPECT_EQ(registry.SubkeyNames("software\\sekreta\\recent"), (Lines {"A", "b", "c"}));
    EXPECT_EQ(registry.SubkeyNames("Software\\Nothing"), Lines {});
}

TEST(HeadlessRegistryTest, KeysAreCreatedAndDeletedWithEverythingBelow)
{
    HeadlessRegistry registry;
    ASSERT_TRUE(registry.CreateKey(".sek\\ShellNew"));
    ASSERT_TRUE(registry.SetValue("Sekreta.Document\\shell\\open\\command", "", std::string("sekreta \"%1\"")));
    ASSERT_TRUE(registry.SetValue("Sekreta.Document\\DefaultIcon", "", std::string("sekreta,1")));
    EXPECT_TRUE(registry.KeyExists("Sekreta.Document\\shell"));
    EXPECT_TRUE(registry.KeyExists(""));
    EXPECT_EQ(registry.Dump(),
        (Lines {".sek\\ShellNew", "Sekreta.Document\\DefaultIcon\\[] = \"sekreta,1\"",
            "Sekreta.Document\\shell\\open\\command\\[] = \"sekreta \"%1\"\""}));

    EXPECT_TRUE(registry.DeleteKey("sekreta.document\\SHELL"));
    EXPECT_FALSE(registry.KeyExists("Sekreta.Document\\shell\\open\\command"));
    EXPECT_FALSE(registry.DeleteKey("Sekreta.Document\\shell"));
    EXPECT_FALSE(registry.DeleteKey(""));
    EXPECT_FALSE(registry.DeleteValue("Sekreta.Document\\DefaultIcon", "missing"));
    EXPECT_TRUE(registry.DeleteValue("Sekreta.Document\\DefaultIcon", ""));
    EXPECT_EQ(registry.Dump(), (Lines {".sek\\ShellNew", "Sekreta.Document\\DefaultIcon"}));
}

TEST(HeadlessRegistryTest, ReadOnlyHiveRefusesEveryChangeButAnswersReads)
{
    HeadlessRegistry registry;
    ASSERT_TRUE(registry.SetValue("Software\\Sekreta\\Settings", "Width", 640u));
    const Lines before = registry.Dump();
    registry.SetReadOnly(true);

    EXPECT_TRUE(registry.CreateKey("software\\sekreta")) << "opening an existing key still works";
    EXPECT_FALSE(registry.CreateKey("Software\\Sekreta\\New\\Deeper"));
    EXPECT_FALSE(registry.SetValue("Software\\Sekreta\\Settings", "Width", 800u));
    EXPECT_FALSE(registry.SetValue("Software\\Other", "Height", 1u));
    EXPECT_FALSE(registry.DeleteValue("Software\\Sekreta\\Settings", "Width"));
    EXPECT_FALSE(registry.DeleteKey("Software\\Sekreta"));
    EXPECT_EQ(registry.Dump(), before);
    EXPECT_EQ(registry.QueryValue("Software\\Sekreta\\Settings", "Width"), RegistryValue(640u));

    registry.SetReadOnly(false);
    EXPECT_TRUE(registry.DeleteKey("Software\\Sekreta"));
}

}  // namespace
}  // namespace sekreta::platform
