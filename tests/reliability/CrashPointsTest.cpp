// sekreta-cli stopped by a crash at each step of a save in turn: a library preloaded into it
// (FailingCalls.cpp) kills it with SIGKILL right before the chosen system call. Before the
// rename the old file must stay, after it the new one, and a temporary file is left behind
// exactly while it exists under its hidden name, hidden and readable by its owner alone. The
// writers' lock goes with the killed program, and the next write clears what it left; writers
// that run at once take turns, and one that finds the lock held too long gives up.
#include "CliProcess.h"
#include "LeftOverFiles.h"
#include "RecordFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace sekreta::test {
namespace {

const std::string kPhrase = "Open sesame";

class CrashPoints : public testing::Test {
protected:
    CrashPoints()
    {
        m_edit = {
            {"edit", m_file.string(), "Mail", "--user", "you", "--passphrase-stdin"}, kPhrase + "\n", {}, std::nullopt};
    }

    // The old file again, with the mode given.
    void Prepare(std::filesystem::perms mode)
    {
        for (const std::string& name : m_folder.Entries())
            std::filesystem::remove(m_folder / name);
        WriteBytes(m_file, m_oldBytes);
        std::filesystem::permissions(m_file, mode);
    }

    static constexpr auto kOwnerOnly = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    TemporaryFolder m_folder;
    TemporaryFolder m_traces;
    const std::filesystem::path m_file = m_folder / "x.sek";
    const std::vector<AccountRecord> m_old
        = {{"Bank", "https://bank.example", "me", "s3cret", std::string(150000, 'n')},
            {"Mail", "", "me@mail.example", "pw", ""}};
    const std::vector<std::uint8_t> m_oldBytes = StoredBytes(m_old, kPhrase);
    CliRun m_edit;
};

TEST_F(CrashPoints, AKillBeforeAnyStepOfASaveLeavesTheWholeOldFileOrTheWholeNewOne)
{
    std::vector<AccountRecord> changed = m_old;
    changed[1].user = "you";
    const std::vector<std::uint8_t> newBytes = StoredBytes(changed, kPhrase);

    Prepare(kOwnerOnly);
    const std::string trace = (m_traces / "trace").string();
    CliRun traced = m_edit;
    traced.environment = FailingCallsEnvironment("", trace);
    ASSERT_EQ(RunCli(traced).status, 0);
    ASSERT_EQ(ReadBytes(m_file), newBytes);
    std::vector<std::string> calls;
    {
        std::ifstream in(trace);
        for (std::string line; std::getline(in, line);)
            calls.push_back(line);
    }
    ASSERT_NE(std::find(calls.begin(), calls.end(), "rename"), calls.end());

    std::map<std::string, int> seen;
    bool renamed = false;
    bool created = false;
    for (const std::string& call : calls) {
        const int number = ++seen[call];
        SCOPED_TRACE("killed before " + call + " number " + std::to_string(number));
        Prepare(kOwnerOnly);
        CliRun run = m_edit;
        run.environment = FailingCallsEnvironment(call + ":" + std::to_string(number) + ":kill");
        const CliResult result = RunCli(run);

        EXPECT_EQ(result.signal, SIGKILL);
        EXPECT_EQ(ReadBytes(m_file), renamed ? newBytes : m_oldBytes);
        EXPECT_EQ(CheckLeftOvers(m_folder, "x.sek").size(), created && !renamed ? 1u : 0u);
        created = created || call == "create-temporary";
        renamed = renamed || call == "rename";
    }
}

TEST_F(CrashPoints, ATemporaryFileLeftBehindIsTheOwnersAloneWhateverTheOldFilesMode)
{
    // A file the group and others may read, as many a file made by other tools is.
    for (const std::string call : {"fsync-temporary", "close-temporary", "rename"}) {
        SCOPED_TRACE("killed before " + call);
        Prepare(kOwnerOnly | std::filesystem::perms::group_read | std::filesystem::perms::others_read);
        CliRun run = m_edit;
        run.environment = FailingCallsEnvironment(call + ":1:kill");
        EXPECT_EQ(RunCli(run).signal, SIGKILL);
        EXPECT_EQ(ReadBytes(m_file), m_oldBytes);
        EXPECT_EQ(CheckLeftOvers(m_folder, "x.sek").size(), 1u);
        // The kill took the lock with it, and the next writer clears what the kill left.
        EXPECT_EQ(RunCli(m_edit).status, 0);
        EXPECT_EQ(CheckLeftOvers(m_folder, "x.sek").size(), 0u);
    }
}

TEST_F(CrashPoints, WritersAtOnceTakeTurnsAndOneThatWaitsTooLongChangesNothing)
{
    Prepare(kOwnerOnly);
    std::vector<std::unique_ptr<StartedCli>> writers;
    for (int i = 0; i < 20; ++i) {
        writers.push_back(std::make_unique<StartedCli>(
            CliRun {{"add", m_file.string(), "--account", "a" + std::to_string(i), "--generate", "--passphrase-stdin"},
                kPhrase + "\n", {}, std::nullopt}));
    }
    for (const std::unique_ptr<StartedCli>& writer : writers)
        EXPECT_EQ(writer->Wait().status, 0);
    EXPECT_EQ(LoadedRecords(ReadBytes(m_file), kPhrase).value_or(m_old).size(), m_old.size() + 20);

    Prepare(kOwnerOnly);
    const int held = ::open(m_file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    const CliResult result = RunCli(m_edit);
    ::close(held);
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "sekreta-cli: " + m_file.string() + " is being changed by another program; try again.\n");
    EXPECT_EQ(ReadBytes(m_file), m_oldBytes);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"x.sek"});
}

}  // namespace
}  // namespace sekreta::test
