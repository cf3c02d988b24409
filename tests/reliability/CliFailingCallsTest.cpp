// sekreta-cli's writes with a system call failing at each step in turn. The real program runs
// on the real file system; a preloaded library (FailingCalls.cpp) first lists the calls a
// write makes when nothing fails, then fails each of them in a run of its own. Every time the
// program must say exactly what failed, leave the old file byte for byte (or, once the new file
// has taken its place, the whole new one), and leave no temporary file behind.
#include "CliProcess.h"
#include "LeftOverFiles.h"
#include "RecordFiles.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <map>

namespace sekreta::test {
namespace {

const std::string kPhrase = "Open sesame";
// Notes long enough that the file is written in more than one piece.
const std::vector<AccountRecord> kLetters = {{"Bank", "https://bank.example", "me", "s3cret", std::string(150000, 'n')},
    {"Mail", "", "me@mail.example", "pw", ""}, {"Shop", "https://shop.example", "buyer", "x", ""}};

// What a failing call does to the write as a whole.
enum class Outcome {
    oldKept,  // the write fails and the old file stays
    newReported,  // the new file is in place, but the write could not be made sure of and fails
    harmless,  // nothing is lost by it: the write succeeds
};

struct CallFailure {
    int osError;
    std::string message;
    Outcome outcome;
};

const std::map<std::string, CallFailure> kCallFailures = {
    {"create-temporary", {EACCES, "Access to %1 was denied.", Outcome::oldKept}},
    {"write", {ENOSPC, "Disk full while accessing %1.", Outcome::oldKept}},
    {"open-temporary", {EMFILE, "%1 could not be opened because there are too many open files.", Outcome::oldKept}},
    {"fchown", {EIO, "A hardware I/O error was reported while accessing %1.", Outcome::oldKept}},
    {"fchmod", {EROFS, "Access to %1 was denied.", Outcome::oldKept}},
    {"close-copy", {EIO, "", Outcome::harmless}},
    {"fsync-temporary", {EIO, "A hardware I/O error was reported while accessing %1.", Outcome::oldKept}},
    {"close-temporary", {EDQUOT, "Disk full while accessing %1.", Outcome::oldKept}},
    {"rename", {EXDEV, "An unknown error occurred while accessing %1.", Outcome::oldKept}},
    // The rename is done; only making it durable failed.
    {"open-folder", {EMFILE, "%1 could not be opened because there are too many open files.", Outcome::newReported}},
    {"fsync-folder", {EIO, "A hardware I/O error was reported while accessing %1.", Outcome::newReported}},
    {"close-folder", {EIO, "", Outcome::harmless}},
    // The old file's owner and mode given back to the new one in its place: failing, the new
    // file stays its owner's alone, which loses nothing.
    {"open-saved", {EMFILE, "", Outcome::harmless}},
    {"fchown-saved", {EIO, "", Outcome::harmless}},
    {"fchmod-saved", {EROFS, "", Outcome::harmless}},
    {"close-saved", {EIO, "", Outcome::harmless}},
};

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::vector<std::string> Lines(const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Replace(std::string text, const std::string& path)
{
    return text.replace(text.find("%1"), 2, path);
}

// One command that writes a file, with what is on the disk before it runs.
struct WritingCommand {
    std::string name;
    std::vector<std::string> arguments;
    std::string input;
    std::string written;  // the file it writes, relative to the folder
    std::function<void(const TemporaryFolder&)> prepare;
};

std::string Name(const testing::TestParamInfo<WritingCommand>& info)
{
    return info.param.name;
}

class CliFailingCalls : public testing::TestWithParam<WritingCommand> {
protected:
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    // The arguments with "@" in front of a name turned into that file's path in the folder.
    std::vector<std::string> Arguments() const
    {
        std::vector<std::string> arguments;
        for (const std::string& argument : GetParam().arguments)
            arguments.push_back(argument.starts_with("@") ? Path(argument.substr(1)) : argument);
        return arguments;
    }

    // Puts the files back as they were before the command; the written one's bytes, if any.
    std::optional<std::vector<std::uint8_t>> Prepare()
    {
        for (const std::string& name : m_folder.Entries())
            std::filesystem::remove(m_folder / name);
        GetParam().prepare(m_folder);
        const std::filesystem::path written = m_folder / GetParam().written;
        if (!std::filesystem::exists(written))
            return std::nullopt;
        return ReadBytes(written);
    }

    CliResult Run(const std::string& failures, const std::string& traceFile = {})
    {
        return RunCli({Arguments(), GetParam().input, FailingCallsEnvironment(failures, traceFile), std::nullopt});
    }

    TemporaryFolder m_folder;
    // Outside the folder, which must hold nothing but the command's own files.
    TemporaryFolder m_traces;
};

TEST_P(CliFailingCalls, EveryCallOfTheWriteFailsCleanly)
{
    const std::filesystem::path written = m_folder / GetParam().written;
    const std::optional<std::vector<std::uint8_t>> before = Prepare();
    const std::vector<std::string> entriesBefore = m_folder.Entries();
    const std::string trace = (m_traces / "trace").string();
    const CliResult success = Run("", trace);
    ASSERT_EQ(success.status, 0) << success.err;
    const std::vector<std::uint8_t> after = ReadBytes(written);
    const std::vector<std::string> entriesAfter = m_folder.Entries();
    const std::vector<std::string> calls = Lines(trace);
    for (const std::string_view step : {"create-temporary", "write", "fsync-temporary", "close-temporary", "rename"})
        EXPECT_NE(std::find(calls.begin(), calls.end(), step), calls.end()) << "a write makes " << step;

    std::map<std::string, int> seen;
    for (const std::string& call : calls) {
        const int number = ++seen[call];
        SCOPED_TRACE(call + " number " + std::to_string(number));
        const auto failure = kCallFailures.find(call);
        ASSERT_NE(failure, kCallFailures.end()) << "a step nobody has said what its failure does";
        Prepare();
        const CliResult result
            = Run(call + ":" + std::to_string(number) + ":" + std::to_string(failure->second.osError));

        if (failure->second.outcome == Outcome::harmless) {
            EXPECT_EQ(result.status, 0) << result.err;
            EXPECT_EQ(result.out, success.out);
            EXPECT_EQ(ReadBytes(written), after);
            EXPECT_EQ(m_folder.Entries(), entriesAfter);
            continue;
        }
        EXPECT_EQ(result.status, 3);
        EXPECT_EQ(result.err, "sekreta-cli: " + Replace(failure->second.message, written.string()) + "\n");
        EXPECT_EQ(result.out, "");
        if (failure->second.outcome == Outcome::newReported) {
            EXPECT_EQ(ReadBytes(written), after);
            EXPECT_EQ(m_folder.Entries(), entriesAfter);
        } else if (before) {
            EXPECT_EQ(ReadBytes(written), *before);
            EXPECT_EQ(m_folder.Entries(), entriesBefore);
        } else {
            EXPECT_EQ(m_folder.Entries(), entriesBefore) << "nothing under the new name";
        }
    }
}

void WriteLetters(const TemporaryFolder& folder)
{
    WriteBytes(folder / "x.sek", StoredBytes(kLetters, kPhrase));
}

const std::string kPhraseLine = kPhrase + "\n";

INSTANTIATE_TEST_SUITE_P(Commands, CliFailingCalls,
    testing::Values(
        WritingCommand {"add",
            {"add", "@x.sek", "--account", "Club", "--user", "member", "--passphrase-stdin", "--password-stdin"},
            kPhraseLine + "pw\n", "x.sek", WriteLetters},
        WritingCommand {"edit", {"edit", "@x.sek", "Mail", "--user", "you", "--passphrase-stdin"}, kPhraseLine, "x.sek",
            WriteLetters},
        WritingCommand {"rm", {"rm", "@x.sek", "2", "--passphrase-stdin"}, kPhraseLine, "x.sek", WriteLetters},
        WritingCommand {"passwd", {"passwd", "@x.sek", "--passphrase-stdin"}, kPhraseLine + "Close sesame\n", "x.sek",
            WriteLetters},
        WritingCommand {
            "new_force", {"new", "@x.sek", "--force", "--passphrase-stdin"}, kPhraseLine, "x.sek", WriteLetters},
        WritingCommand {"import", {"import", "@x.sek", "--from", "@in.csv", "--passphrase-stdin"}, kPhraseLine, "x.sek",
            [](const TemporaryFolder& folder) {
                WriteLetters(folder);
                WriteBytes(folder / "in.csv", Bytes("Title,Username,Password\nClub,member,pw\n"));
            }},
        WritingCommand {"export_over_a_file",
            {"export", "@x.sek", "--format", "csv", "-o", "@out.csv", "--force", "--passphrase-stdin"}, kPhraseLine,
            "out.csv",
            [](const TemporaryFolder& folder) {
                WriteLetters(folder);
                WriteBytes(folder / "out.csv", Bytes("an older export\n"));
            }},
        WritingCommand {"export_to_a_new_file", {"export", "@x.sek", "-o", "@out.json", "--passphrase-stdin"},
            kPhraseLine, "out.json", WriteLetters}),
    Name);

class CliWriteFailures : public testing::Test {
protected:
    TemporaryFolder m_folder;
    const std::filesystem::path m_file = m_folder / "x.sek";
};

TEST_F(CliWriteFailures, WhenEvenTheCleanUpFailsTheLeftOverIsHiddenAndTheOwnersAlone)
{
    WriteLetters(m_folder);
    const std::vector<std::uint8_t> before = ReadBytes(m_file);
    const CliResult result = RunCli({{"edit", m_file.string(), "Bank", "--user", "you", "--passphrase-stdin"},
        kPhraseLine, FailingCallsEnvironment("write:1:" + std::to_string(ENOSPC) + ",unlink:1:" + std::to_string(EIO)),
        std::nullopt});

    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "sekreta-cli: Disk full while accessing " + m_file.string() + ".\n");
    EXPECT_EQ(ReadBytes(m_file), before);
    EXPECT_EQ(CheckLeftOvers(m_folder, "x.sek").size(), 1u);
}

TEST_F(CliWriteFailures, AFileSizeLimitBelowTheNewFileIsADiskFullAndTheOldFileStays)
{
    // The new file outgrows the limit the kernel enforces.
    WriteLetters(m_folder);
    const std::vector<std::uint8_t> before = ReadBytes(m_file);
    CliRun run {{"add", m_file.string(), "--account", "Club", "--passphrase-stdin", "--password-stdin"},
        kPhraseLine + "pw\n", {}, before.size() - 1000};
    const CliResult result = RunCli(run);

    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err, "sekreta-cli: Disk full while accessing " + m_file.string() + ".\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadBytes(m_file), before);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"x.sek"});
}

}  // namespace
}  // namespace sekreta::test
