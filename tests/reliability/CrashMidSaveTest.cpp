// sekreta-cli killed in the middle of saving a file of some 20 MB, again and again. The kill is
// SIGKILL, sent to the program itself: nothing of it runs after. Most kills wait for the
// temporary file to appear and then land at a random moment of the save; the others land at
// a random moment of the whole run. Every time the file must hold the whole old store or the
// whole new one, and both must happen, or the kills did not really land inside the save.
// A temporary file that a kill leaves behind must be hidden and readable by its owner alone.
// Its own test program, labelled slow: it runs sekreta-cli some sixty times on a 20 MB file.
#include "CliProcess.h"
#include "LeftOverFiles.h"
#include "RecordFiles.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <random>
#include <sys/inotify.h>
#include <thread>
#include <unistd.h>

namespace sekreta::test {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

const std::string kPhrase = "Open sesame";
constexpr int kLeastKills = 50;
constexpr int kMostRuns = 300;

std::vector<AccountRecord> LargeStore()
{
    std::vector<AccountRecord> records;
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        records.push_back({"Account " + n, "https://site" + n + ".example", "user" + n, "pw" + n,
            std::string(10000, static_cast<char>('a' + i % 26))});
    }
    return records;
}

// The whole file in one read: the test reads 20 MB after every kill.
std::vector<std::uint8_t> ReadWhole(const std::filesystem::path& path)
{
    std::vector<std::uint8_t> bytes(std::filesystem::file_size(path));
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Tells when a file whose name starts with a prefix is created in a folder.
class CreationWatch {
public:
    CreationWatch(const std::filesystem::path& folder, std::string prefix)
        : m_descriptor(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
        , m_prefix(std::move(prefix))
    {
        ::inotify_add_watch(m_descriptor, folder.c_str(), IN_CREATE);
    }
    ~CreationWatch() { ::close(m_descriptor); }
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    // Waits until such a file is created; false when none is within the time.
    bool Wait(std::chrono::milliseconds timeout)
    {
        const Clock::time_point end = Clock::now() + timeout;
        while (Clock::now() < end) {
            pollfd watched {m_descriptor, POLLIN, 0};
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (::poll(&watched, 1, static_cast<int>(left.count()) + 1) <= 0)
                continue;
            alignas(inotify_event) char buffer[4096];
            const ssize_t got = ::read(m_descriptor, buffer, sizeof buffer);
            for (ssize_t offset = 0; offset < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                if (event->len > 0 && std::string_view(event->name).starts_with(m_prefix))
                    return true;
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return false;
    }

private:
    int m_descriptor;
    std::string m_prefix;
};

class CrashMidSave : public testing::Test {
protected:
    CrashMidSave()
        : m_old(LargeStore())
        , m_new(m_old)
    {
        m_new.push_back({"Club", "", "member", "pw", ""});
        m_oldBytes = StoredBytes(m_old, kPhrase);
        m_newBytes = StoredBytes(m_new, kPhrase);
        m_add = {
            {"add", m_file.string(), "--account", "Club", "--user", "member", "--passphrase-stdin", "--password-stdin"},
            kPhrase + "\npw\n", {}, std::nullopt};
        m_remove = {{"rm", m_file.string(), std::to_string(m_new.size()), "--passphrase-stdin"}, kPhrase + "\n", {},
            std::nullopt};
    }

    // Checks what a kill left beside the file, and clears it away; how many there were.
    int CheckAndClearLeftOvers()
    {
        const std::vector<std::string> found = CheckLeftOvers(m_folder, "x.sek");
        for (const std::string& name : found)
            std::filesystem::remove(m_folder / name);
        return static_cast<int>(found.size());
    }

    TemporaryFolder m_folder;
    const std::filesystem::path m_file = m_folder / "x.sek";
    std::vector<AccountRecord> m_old;
    std::vector<AccountRecord> m_new;
    std::vector<std::uint8_t> m_oldBytes;
    std::vector<std::uint8_t> m_newBytes;
    CliRun m_add;
    CliRun m_remove;
};

TEST_F(CrashMidSave, AKilledSaveLeavesTheWholeOldFileOrTheWholeNewOne)
{
    const Clock::time_point began = Clock::now();
    ASSERT_GT(m_newBytes.size(), 20'000'000u);
    ASSERT_EQ(LoadedRecords(m_newBytes, kPhrase), m_new) << "the new file opens as the new store";
    WriteBytes(m_file, m_oldBytes);
    // As sekreta-cli new makes it. A file that others may read is another matter (CrashPoints).
    std::filesystem::permissions(m_file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // Runs that are not killed measure the whole run and the save inside it.
    Seconds whole {};
    Seconds save {};
    for (const CliRun* run : {&m_add, &m_remove}) {
        CreationWatch watch(m_folder.Path(), ".x.sek.");
        const Clock::time_point start = Clock::now();
        StartedCli cli(*run);
        ASSERT_TRUE(watch.Wait(std::chrono::seconds(30)));
        const Clock::time_point saving = Clock::now();
        const CliResult result = cli.Wait();
        ASSERT_EQ(result.status, 0);
        whole = std::max(whole, Seconds(Clock::now() - start));
        save = std::max(save, Seconds(Clock::now() - saving));
    }
    ASSERT_EQ(ReadWhole(m_file), m_oldBytes);

    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    bool holdsNew = false;
    int kills = 0;
    int oldAfterKill = 0;
    int newAfterKill = 0;
    int leftOvers = 0;
    int run = 0;
    for (; run < kMostRuns && (kills < kLeastKills || oldAfterKill == 0 || newAfterKill == 0); ++run) {
        CreationWatch watch(m_folder.Path(), ".x.sek.");
        StartedCli cli(holdsNew ? m_remove : m_add);
        // One kill in four anywhere in the run, loading included; the others inside the save.
        Seconds delay;
        if (random() % 4 == 0) {
            delay = Seconds(std::uniform_real_distribution<double>(0, whole.count())(random));
        } else {
            ASSERT_TRUE(watch.Wait(std::chrono::seconds(30))) << "no save began";
            delay = Seconds(std::uniform_real_distribution<double>(0, save.count())(random));
        }
        std::this_thread::sleep_for(delay);
        cli.Kill(SIGKILL);
        const CliResult result = cli.Wait();

        const std::vector<std::uint8_t> bytes = ReadWhole(m_file);
        const bool isOld = bytes == (holdsNew ? m_newBytes : m_oldBytes);
        const bool isNew = bytes == (holdsNew ? m_oldBytes : m_newBytes);
        ASSERT_TRUE(isOld || isNew) << "run " << run << " left " << bytes.size() << " bytes that are neither";
        leftOvers += CheckAndClearLeftOvers();
        if (result.signal == SIGKILL) {
            ++kills;
            (isOld ? oldAfterKill : newAfterKill) += 1;
        } else {
            EXPECT_EQ(result.status, 0) << "a run that ended by itself succeeded";
            EXPECT_TRUE(isNew);
        }
        if (isNew)
            holdsNew = !holdsNew;
    }

    std::cout << run << " runs, " << kills << " kills: " << oldAfterKill << " left the old file, " << newAfterKill
              << " the new one; " << leftOvers << " temporary files left behind; "
              << Seconds(Clock::now() - began).count() << " s\n";
    EXPECT_GE(kills, kLeastKills);
    EXPECT_GT(oldAfterKill, 0);
    EXPECT_GT(newAfterKill, 0);
    EXPECT_GT(leftOvers, 0) << "no kill landed while the temporary file was written";
}

}  // namespace
}  // namespace sekreta::test
