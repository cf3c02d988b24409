#include "framework/CRecentFileList.h"

#include "framework/CWinApp.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace sekreta {
namespace {

TEST(AbbreviatePath, KeepsTheFirstFolderAndAsManyLastPartsAsFit)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/home/me/pw.sek", "/home/me/pw.sek"},
        {"/home/user/documents/projects/secret/passwords.sek", "/home/.../secret/passwords.sek"},
        {"/home/user/documents/projects/secret/pw.sek", "/home/.../secret/pw.sek"},
        {"/home/user/documents/projects/s/pw.sek", "/home/.../projects/s/pw.sek"},
        {"/a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p.sek", "/a/.../g/h/i/j/k/l/m/n/o/p.sek"},
        {"/verylongfoldername/another/a-rather-long-name.sek", "a-rather-long-name.sek"},
        {"/x/y/this-file-name-is-longer-than-thirty.sek", "this-file-name-is-longer-than-thirty.sek"},
        {"/this-single-folder-is-far-too-long.sek", "this-single-folder-is-far-too-long.sek"},
        {"/home/me/Документы/x.sek", "/home/me/Документы/x.sek"},
        {"/home/me/Документы/Проекты/Секреты/пароли.sek", "/home/.../Секреты/пароли.sek"},
    };
    for (const auto& [path, shown] : cases) {
        EXPECT_EQ(AbbreviatePath(path, 30), shown) << path;
        EXPECT_LE(AbbreviatePath(path, 30).size(), std::max<std::size_t>(30, std::string(shown).size()));
    }
}

class RecentFiles : public testing::Test {
protected:
    RecentFiles() { m_app.SetRegistryKey("Keys"); }

    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (std::size_t slot = 0; slot < m_list.GetSize(); ++slot)
            paths.push_back(m_list.GetPath(slot));
        return paths;
    }

    platform::HeadlessPlatform m_platform {[](const std::string& problem) { ADD_FAILURE() << problem; }};
    CWinApp m_app {m_platform.Get(), platform::ResourceSet {}};
    CRecentFileList m_list {m_app, 57616, "Recent File List", "File%d", 4, 30};
};

TEST_F(RecentFiles, AddingPutsThePathOnTopOnceAndDropsTheOldest)
{
    for (const char* path : {"/a", "/b", "/c", "/d", "/e"})
        m_list.Add(path);
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/e", "/d", "/c", "/b"}));
    m_list.Add("/c");
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/c", "/e", "/d", "/b"}));
    m_list.Add("/b");
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/b", "/c", "/e", "/d"}));
    m_list.Add("/b");
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/b", "/c", "/e", "/d"}));
    m_list.Add("/x/../c");
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/c", "/b", "/e", "/d"})) << "paths are made absolute first";
}

TEST_F(RecentFiles, RemovingMovesTheLaterOnesUp)
{
    for (const char* path : {"/a", "/b", "/c"})
        m_list.Add(path);
    m_list.Remove(0);
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/b", "/a", "", ""}));
    m_list.Remove(1);
    EXPECT_EQ(Paths(), (std::vector<std::string> {"/b", "", "", ""}));
}

TEST_F(RecentFiles, TheListIsWrittenWholeAndReadBack)
{
    m_app.WriteProfileString("Recent File List", "File4", "/stale");
    m_app.WriteProfileString("Recent File List", "Other", "/stale");
    m_list.Add("/a");
    m_list.Add("/b");
    m_list.WriteList();
    EXPECT_EQ(m_platform.userSettings.Dump(),
        (std::vector<std::string> {
            "software\\Keys\\Recent File List\\[File1] = \"/b\"",
            "software\\Keys\\Recent File List\\[File2] = \"/a\"",
        }));

    CRecentFileList reread(m_app, 57616, "Recent File List", "File%d", 4, 30);
    reread.ReadList();
    EXPECT_EQ(reread.GetPath(0), "/b");
    EXPECT_EQ(reread.GetPath(1), "/a");
    EXPECT_EQ(reread.GetPath(2), "");
}

TEST_F(RecentFiles, AFileInTheCurrentFolderShowsByNameAlone)
{
    m_platform.files.SetCurrentDirectory("/home/me");
    m_list.Add("/home/me/pw.sek");
    m_list.Add("/home/me/sub/pw.sek");
    m_list.Add("/home/user/documents/projects/secret/passwords.sek");
    EXPECT_EQ(m_list.GetDisplayName(2, "/home/me"), "pw.sek");
    EXPECT_EQ(m_list.GetDisplayName(1, "/home/me"), "/home/me/sub/pw.sek");
    EXPECT_EQ(m_list.GetDisplayName(0, "/home/me"), "/home/.../secret/passwords.sek");
}

}  // namespace
}  // namespace sekreta
