#include "platform/xdg/XdgShell.h"

#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/xdg/ProcessLauncher.h"
#include "platform/xdg/ProgramFiles.h"
#include "xdg/XdgTestSupport.h"

#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace sekreta::platform {
namespace {

using test::ReadText;
using test::TemporaryFolder;
using test::WriteText;
using Arguments = std::vector<std::string>;

// The window system that failures are posted to, and how many were told.
struct Posted {
    HeadlessWindowSystem windows {[](const std::string& problem) { ADD_FAILURE() << problem; }};
    int failures = 0;
    bool Told(int expected)
    {
        return test::Eventually([&] {
            windows.RunPostedTasks();
            return failures == expected;
        });
    }
};

bool VerdictOf(const Arguments& arguments, std::chrono::milliseconds grace)
{
    auto verdict = std::make_shared<std::promise<bool>>();
    LaunchWatched(arguments, grace, [verdict](bool succeeded) { verdict->set_value(succeeded); });
    return verdict->get_future().get();
}

// A stand-in for xdg-open, first on PATH: it records its arguments, then waits until the
// test opens the pipe "release", so that a caller that waited for it would hang.
class FakeOpener {
public:
    FakeOpener()
        : m_path("PATH", (m_folder / "bin").string() + ":/usr/bin:/bin")
    {
        ::mkfifo((m_folder / "release").c_str(), 0600);
        test::WriteScript(m_folder / "bin/xdg-open",
            "printf '%s\\0' \"$@\" > '" + (m_folder / "arguments.new").string()
                + "'\n"
                  "mv '"
                + (m_folder / "arguments.new").string() + "' '" + (m_folder / "arguments").string()
                + "'\n"
                  "read line < '"
                + (m_folder / "release").string() + "'\n");
    }

    // The arguments the opener was started with, once it has been.
    Arguments Received() const
    {
        EXPECT_TRUE(test::Eventually([this] { return std::filesystem::exists(m_folder / "arguments"); }));
        const std::string recorded = ReadText(m_folder / "arguments");
        Arguments arguments;
        for (std::size_t start = 0; start < recorded.size();) {
            const std::size_t end = recorded.find('\0', start);
            arguments.push_back(recorded.substr(start, end - start));
            start = end + 1;
        }
        return arguments;
    }

    // Lets the opener end, and waits until nothing is left of it, not even a zombie.
    void ReleaseAndExpectItCollected()
    {
        const int pipe = ::open((m_folder / "release").c_str(), O_WRONLY);
        ASSERT_GE(pipe, 0);
        ASSERT_EQ(::write(pipe, "\n", 1), 1);
        ::close(pipe);
        EXPECT_TRUE(test::Eventually([] {
            siginfo_t info {};
            // WNOWAIT only looks: the launcher's own thread must be the one that collects it.
            return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 && errno == ECHILD;
        })) << "the opener's process was not collected";
    }

    const TemporaryFolder& Folder() const { return m_folder; }

private:
    TemporaryFolder m_folder;
    test::ScopedVariable m_path;
};

TEST(XdgShellTest, OpenUrlHandsTheAddressToTheOpenerAsItsOneArgumentWithoutWaiting)
{
    FakeOpener opener;
    const std::string url
        = "https://example.com/a b?x=1&y=2;$(touch " + (opener.Folder() / "pwned").string() + ")`id`'\"|*\n> %1";
    Posted posted;
    XdgShell shell(std::nullopt, posted.windows);
    shell.OpenUrl(url, [&posted] { ++posted.failures; });
    EXPECT_EQ(opener.Received(), Arguments {url});
    opener.ReleaseAndExpectItCollected();
    EXPECT_FALSE(std::filesystem::exists(opener.Folder() / "pwned")) << "no shell read the address";
}

TEST(XdgShellTest, ShowHelpOpensTheGuideWhenThereIsOne)
{
    FakeOpener opener;
    Posted posted;
    XdgShell shell(opener.Folder() / "guide dir/index.html", posted.windows);
    shell.ShowHelp([&posted] { ++posted.failures; });
    EXPECT_EQ(opener.Received(), Arguments {(opener.Folder() / "guide dir/index.html").string()});
    opener.ReleaseAndExpectItCollected();

    XdgShell(std::nullopt, posted.windows).ShowHelp([&posted] { ++posted.failures; });
    EXPECT_TRUE(posted.Told(1));
}

TEST(XdgShellTest, AnOpenerThatEndsWithAFailureIsToldOnTheUserInterfaceThread)
{
    TemporaryFolder folder;
    const test::ScopedVariable path("PATH", (folder / "bin").string() + ":/usr/bin:/bin");
    test::WriteScript(folder / "bin/xdg-open", "exit 4\n");
    Posted posted;
    XdgShell shell(folder / "index.html", posted.windows);
    shell.OpenUrl("-refused", [&posted] { ++posted.failures; });
    shell.ShowHelp([&posted] { ++posted.failures; });
    EXPECT_TRUE(posted.Told(2));

    // Judged by its exit status, or as started when it still runs after the grace time.
    test::WriteScript(folder / "bin/exits", "exit \"$1\"\n");
    EXPECT_TRUE(VerdictOf({"exits", "0"}, std::chrono::seconds(10)));
    FakeOpener running;
    EXPECT_TRUE(VerdictOf({"xdg-open", "x"}, std::chrono::milliseconds(50)));
    running.ReleaseAndExpectItCollected();
}

TEST(XdgShellTest, FailsWhenNoOpenerCanBeStarted)
{
    TemporaryFolder folder;
    const test::ScopedVariable path("PATH", (folder / "bin").string());
    std::filesystem::create_directory(folder / "bin");
    Posted posted;
    XdgShell shell(folder / "index.html", posted.windows);
    shell.OpenUrl("https://example.com", [&posted] { ++posted.failures; });
    shell.ShowHelp([&posted] { ++posted.failures; });

    // One that is there but may not be run fails the same way.
    WriteText(folder / "bin/xdg-open", "#!/bin/sh\n");
    std::filesystem::permissions(folder / "bin/xdg-open", static_cast<std::filesystem::perms>(0644));
    shell.OpenUrl("https://example.com", [&posted] { ++posted.failures; });
    EXPECT_TRUE(posted.Told(3));
    EXPECT_FALSE(LaunchDetached({}));
    EXPECT_FALSE(LaunchDetached({""}));
}

TEST(ProgramFilesTest, TheGuideIsTheInstalledOneOrInTheBuildTreeTheSourcesOne)
{
    TemporaryFolder folder;
    const UserGuidePlaces places {"../share/doc/sekreta/index.html", folder / "build", folder / "src/docs/index.html"};
    WriteText(folder / "prefix/share/doc/sekreta/index.html", "installed");
    WriteText(folder / "src/docs/index.html", "sources");

    EXPECT_EQ(FindUserGuide(folder / "prefix/bin/sekreta", places), folder / "prefix/share/doc/sekreta/index.html");
    EXPECT_EQ(FindUserGuide(folder / "build/src/app/sekreta", places), folder / "src/docs/index.html");
    EXPECT_EQ(FindUserGuide(folder / "elsewhere/bin/sekreta", places), std::nullopt);
    EXPECT_EQ(FindUserGuide(folder / "build-other/sekreta", places), std::nullopt) << "only inside the build tree";
    std::filesystem::remove(folder / "src/docs/index.html");
    EXPECT_EQ(FindUserGuide(folder / "build/src/app/sekreta", places), std::nullopt);

    // This very test runs from the build tree, so it finds the guide of the sources.
    const std::optional<std::filesystem::path> running = RunningExecutable();
    ASSERT_TRUE(running);
    EXPECT_EQ(running->filename(), "sekreta_xdg_tests");
    EXPECT_EQ(UserGuidePlaces::OfThisBuild().installedFromProgramFolder, "../share/doc/sekreta/index.html");
    EXPECT_EQ(FindUserGuide(*running), std::filesystem::path(SEKRETA_SOURCE_DIR) / "docs/index.html");
}

}  // namespace
}  // namespace sekreta::platform
