#include "platform/xdg/XdgDocumentTypes.h"

#include "platform/xdg/ProgramFiles.h"
#include "xdg/XdgTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace sekreta::platform {
namespace {

using test::ReadText;
using test::TemporaryFolder;
using test::WriteText;
using Calls = std::vector<std::vector<std::string>>;

constexpr std::string_view kPackage = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                      "  <mime-type type=\"application/x-sekreta\">\n"
                                      "    <comment>Sekreta Document</comment>\n"
                                      "    <icon name=\"sekreta\"/>\n"
                                      "    <glob pattern=\"*.sek\"/>\n"
                                      "  </mime-type>\n"
                                      "</mime-info>\n";

DocumentType SekretaType(std::filesystem::path program)
{
    return {".sek", "Sekreta.Document", "Sekreta Document", std::move(program), 1};
}

// The framework's rule: the extension is claimed when nothing else holds it.
bool ExtensionIsOurs(const DocumentTypes& types)
{
    const std::string association = types.Association(".sek");
    return association.empty() || association == "Sekreta.Document";
}

struct Stamp {
    ino_t inode;
    timespec modified;
};

Stamp StampOf(const std::filesystem::path& path)
{
    struct stat status { };
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return {status.st_ino, status.st_mtim};
}

bool operator==(const Stamp& a, const Stamp& b)
{
    return a.inode == b.inode && a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
}

class XdgDocumentTypesTest : public testing::Test {
protected:
    XdgDirectories Directories() const { return {m_folder / "home", {m_folder / "local", m_folder / "system"}, {}}; }
    XdgDocumentTypes Types()
    {
        return XdgDocumentTypes("Sekreta.Document", Directories(), [this](const std::vector<std::string>& arguments) {
            m_calls.push_back(arguments);
            return true;
        });
    }
    std::filesystem::path Package() const { return m_folder / "home/mime/packages/sekreta-document.xml"; }
    std::filesystem::path Entry() const { return m_folder / "home/applications/sekreta-document.desktop"; }
    std::string Home(const char* sub) const { return (m_folder / "home" / sub).string(); }

    TemporaryFolder m_folder;
    Calls m_calls;
};

TEST_F(XdgDocumentTypesTest, WritesThePackageAndEntryOnceAndStartsTheToolsOnlyForAChange)
{
    XdgDocumentTypes types = Types();
    const std::filesystem::path program = "/opt/my apps/se\\k\"re$ta`%1";
    ASSERT_TRUE(types.Register(SekretaType(program), true));

    EXPECT_EQ(ReadText(Package()), kPackage);
    EXPECT_EQ(ReadText(Entry()),
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Sekreta\n"
        "Icon=sekreta\n"
        "TryExec=/opt/my apps/se\\\\k\"re$ta`%1\n"
        "Exec=\"/opt/my apps/se\\\\\\\\k\\\\\"re\\\\$ta\\\\`%%1\" %f\n"
        "MimeType=application/x-sekreta;\n"
        "NoDisplay=true\n"
        "Terminal=false\n");
    EXPECT_EQ(std::filesystem::status(Entry()).permissions(), static_cast<std::filesystem::perms>(0644));
    EXPECT_EQ(
        m_calls, (Calls {{"update-mime-database", Home("mime")}, {"update-desktop-database", Home("applications")}}));
    if (test::OnPath("desktop-file-validate")) {
        TemporaryFolder scratch;
        const test::Finished validated = test::RunToEnd({"desktop-file-validate", Entry().string()}, scratch);
        EXPECT_EQ(validated.status, 0) << validated.output;
        EXPECT_EQ(validated.output, "");
    }

    // The installed package says the same as the one written for the user.
    EXPECT_EQ(ReadText(std::filesystem::path(SEKRETA_SOURCE_DIR) / "data/sekreta.xml"), kPackage);

    // Every later start: nothing is written and nothing is started.
    const Stamp package = StampOf(Package());
    const Stamp entry = StampOf(Entry());
    m_calls.clear();
    ASSERT_TRUE(types.Register(SekretaType(program), ExtensionIsOurs(types)));
    EXPECT_EQ(m_calls, Calls {});
    EXPECT_EQ(StampOf(Package()), package);
    EXPECT_EQ(StampOf(Entry()), entry);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Entry().parent_path()), {}), 1)
        << "no temporary file is left";

    // The program moved: only the entry is rewritten.
    ASSERT_TRUE(types.Register(SekretaType("/usr/bin/sekreta"), true));
    EXPECT_EQ(m_calls, (Calls {{"update-desktop-database", Home("applications")}}));
    EXPECT_EQ(StampOf(Package()), package);
    EXPECT_NE(ReadText(Entry()).find("\nExec=\"/usr/bin/sekreta\" %f\n"), std::string::npos);
}

TEST_F(XdgDocumentTypesTest, AnswersWhatTheCompiledDatabaseSaysClaimsTheExtension)
{
    const XdgDocumentTypes types = Types();
    EXPECT_EQ(types.Association(".sek"), "") << "no database at all";

    const auto system = m_folder / "system/mime/globs2";
    const auto local = m_folder / "local/mime/globs2";
    const auto home = m_folder / "home/mime/globs2";
    WriteText(system, "# comment\n50:text/plain:*.txt\nbroken line\nx:y:*.sek\n50:application/x-other:*.sek\n");
    EXPECT_EQ(types.Association(".sek"), "application/x-other");
    EXPECT_EQ(types.Association(".SEK"), "application/x-other") << "patterns ignore case";
    EXPECT_EQ(types.Association(".txt"), "text/plain");
    EXPECT_EQ(types.Association(".doc"), "");

    // A tie goes to the user's folder, which comes first.
    WriteText(home, "50:application/x-sekreta:*.sek\n");
    EXPECT_EQ(types.Association(".sek"), "Sekreta.Document");
    // A heavier pattern wins wherever it is, and then a longer one.
    WriteText(local, "60:application/x-heavy:*.sek\n");
    EXPECT_EQ(types.Association(".sek"), "application/x-heavy");
    WriteText(local, "50:application/x-longer:*.[s]ek\n");
    EXPECT_EQ(types.Association(".sek"), "application/x-longer");
    // A folder before can take a type's patterns away.
    WriteText(home, "50:application/x-sekreta:*.sek\n50:application/x-longer:__NOGLOBS__\n");
    EXPECT_EQ(types.Association(".sek"), "Sekreta.Document");
    // A case-sensitive pattern matches only its own case.
    WriteText(home, "70:application/x-upper:*.SEK:cs\n");
    EXPECT_EQ(types.Association(".SEK"), "application/x-upper");
    EXPECT_EQ(types.Association(".sek"), "application/x-longer");
}

TEST_F(XdgDocumentTypesTest, LeavesAnExtensionThatAnotherTypeClaims)
{
    WriteText(m_folder / "system/mime/globs2", "50:application/x-other:*.sek\n");
    XdgDocumentTypes types = Types();
    ASSERT_FALSE(ExtensionIsOurs(types));
    ASSERT_TRUE(types.Register(SekretaType("/usr/bin/sekreta"), false));

    std::string withoutPattern(kPackage);
    withoutPattern.erase(withoutPattern.find("    <glob"), std::string_view("    <glob pattern=\"*.sek\"/>\n").size());
    EXPECT_EQ(ReadText(Package()), withoutPattern);
    EXPECT_NE(ReadText(Entry()).find("\nMimeType=application/x-sekreta;\n"), std::string::npos);
    EXPECT_EQ(types.Association(".sek"), "application/x-other");
}

TEST_F(XdgDocumentTypesTest, UnregisterRemovesOnlyWhatRegisterWrote)
{
    XdgDocumentTypes types = Types();
    ASSERT_TRUE(types.Register(SekretaType("/usr/bin/sekreta"), true));
    WriteText(m_folder / "home/mime/packages/other.xml", "other");
    WriteText(m_folder / "home/applications/other.desktop", "other");
    WriteText(m_folder / "home/applications/sekreta.desktop", "the installed program's own entry");
    m_calls.clear();

    types.Unregister(SekretaType("/usr/bin/sekreta"), true);
    EXPECT_FALSE(std::filesystem::exists(Package()));
    EXPECT_FALSE(std::filesystem::exists(Entry()));
    EXPECT_EQ(ReadText(m_folder / "home/mime/packages/other.xml"), "other");
    EXPECT_EQ(ReadText(m_folder / "home/applications/other.desktop"), "other");
    EXPECT_TRUE(std::filesystem::exists(m_folder / "home/applications/sekreta.desktop"));
    EXPECT_EQ(
        m_calls, (Calls {{"update-mime-database", Home("mime")}, {"update-desktop-database", Home("applications")}}));

    m_calls.clear();
    types.Unregister(SekretaType("/usr/bin/sekreta"), false);
    EXPECT_EQ(m_calls, Calls {}) << "nothing removed, nothing to update";
}

TEST_F(XdgDocumentTypesTest, RefusesWhatItCannotWriteSoundly)
{
    XdgDocumentTypes types = Types();
    for (const DocumentType& type : {
             SekretaType("relative/sekreta"),
             SekretaType("/opt/\xff\xfe/sekreta"),  // not UTF-8: a desktop entry cannot name it
             SekretaType("/opt/line\nbreak/sekreta"),
             DocumentType {".sek", "../Sekreta", "Sekreta Document", "/usr/bin/sekreta", 1},
             DocumentType {".sek", "", "Sekreta Document", "/usr/bin/sekreta", 1},
             DocumentType {".sek", "Sekreta.Document", "Bad\x01Name", "/usr/bin/sekreta", 1},
         }) {
        EXPECT_FALSE(types.Register(type, true)) << type.program << " " << type.typeId;
    }
    EXPECT_FALSE(std::filesystem::exists(m_folder / "home"));
    EXPECT_EQ(m_calls, Calls {});

    // The first write that fails stops the registration.
    WriteText(m_folder / "home/mime/packages", "a file where a folder belongs");
    EXPECT_FALSE(types.Register(SekretaType("/usr/bin/sekreta"), true));
    EXPECT_FALSE(std::filesystem::exists(Entry()));
    EXPECT_EQ(m_calls, Calls {});
}

TEST(InstalledFilesTest, TheDesktopEntryIsValid)
{
    if (!test::OnPath("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
    TemporaryFolder scratch;
    const test::Finished validated = test::RunToEnd(
        {"desktop-file-validate", (std::filesystem::path(SEKRETA_SOURCE_DIR) / "data/com.example.tavisto.sekreta.desktop").string()},
        scratch);
    EXPECT_EQ(validated.status, 0);
    EXPECT_EQ(validated.output, "") << "no error, warning or hint";
}

// What a person sees with the real tools: xdg-mime, answering through the database that
// update-mime-database and update-desktop-database compile.
TEST(XdgDocumentTypesDesktopTest, TheDesktopOpensSekFilesWithTheProgramUntilUnregistered)
{
    for (const char* tool : {"update-mime-database", "update-desktop-database", "xdg-mime", "gio"}) {
        if (!test::OnPath(tool))
            GTEST_SKIP() << tool
                         << " is not installed (packages shared-mime-info, desktop-file-utils, xdg-utils, "
                            "libglib2.0-bin)";
    }
    TemporaryFolder folder;
    const test::ScopedVariable dataHome("XDG_DATA_HOME", (folder / "data").string());
    const test::ScopedVariable configHome("XDG_CONFIG_HOME", (folder / "config").string());
    const test::ScopedVariable dataDirs("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    // Without a desktop xdg-mime asks file(1), which knows nothing of the freedesktop database;
    // GNOME's answer comes from that database, as every current desktop's does.
    const test::ScopedVariable desktop("XDG_CURRENT_DESKTOP", "GNOME");
    const std::filesystem::path document = folder / "x.sek";
    WriteText(document, std::string_view("\x07Sekreta\x01\0\0\0\x08\0\0\0", 16));

    XdgDocumentTypes types("Sekreta.Document", XdgDirectories::FromEnvironment(),
        [&folder](const std::vector<std::string>& arguments) { return test::RunToEnd(arguments, folder).status == 0; });
    const auto query
        = [&folder](const std::vector<std::string>& arguments) { return test::RunToEnd(arguments, folder).output; };
    ASSERT_EQ(types.Association(".sek"), "") << "the system already knows *.sek";
    ASSERT_TRUE(types.Register(SekretaType(RunningExecutable().value()), ExtensionIsOurs(types)));
    EXPECT_EQ(query({"xdg-mime", "query", "filetype", document.string()}), "application/x-sekreta\n");
    EXPECT_EQ(query({"xdg-mime", "query", "default", "application/x-sekreta"}), "sekreta-document.desktop\n");
    EXPECT_EQ(types.Association(".sek"), "Sekreta.Document");

    types.Unregister(SekretaType(RunningExecutable().value()), ExtensionIsOurs(types));
    EXPECT_NE(query({"xdg-mime", "query", "filetype", document.string()}), "application/x-sekreta\n");
    EXPECT_EQ(query({"xdg-mime", "query", "default", "application/x-sekreta"}), "");
    EXPECT_EQ(types.Association(".sek"), "");
}

}  // namespace
}  // namespace sekreta::platform
