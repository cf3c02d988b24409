#include "framework/SafeSave.h"

#include "framework/CException.h"
#include "framework/CFileException.h"
#include "framework/StringTable.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace sekreta {
namespace {

using platform::FileOperation;
using Bytes = std::vector<std::uint8_t>;

class SafeSaveTest : public testing::Test {
protected:
    // Saves `content` in two writes, so that a failure can strike between them.
    void Save(const std::filesystem::path& path, const Bytes& content)
    {
        SafeSave(m_fileSystem, path, [&](CFile& file) {
            const std::size_t half = content.size() / 2;
            file.Write(content.data(), half);
            file.Write(content.data() + half, content.size() - half);
        });
    }

    test::TemporaryFolder m_folder;
    platform::HeadlessFileSystem m_fileSystem;
    const Bytes m_old = {'o', 'l', 'd'};
    const Bytes m_new = {'n', 'e', 'w', ' ', 'c', 'o', 'n', 't', 'e', 'n', 't'};
};

TEST_F(SafeSaveTest, WritesANewFileOwnerOnly)
{
    const auto path = m_folder / "new.sek";
    Save(path, m_new);
    EXPECT_EQ(test::ReadBytes(path), m_new);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"new.sek"});
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(m_fileSystem.Calls(FileOperation::Flush), 1) << "the bytes must reach the disk before the rename";
}

TEST_F(SafeSaveTest, ReplacesAnExistingFileKeepingItsPermissions)
{
    const auto path = m_folder / "old.sek";
    test::WriteBytes(path, m_old);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    Save(path, m_new);
    EXPECT_EQ(test::ReadBytes(path), m_new);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"old.sek"});
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST_F(SafeSaveTest, WritesIntoAHiddenFileBesideForTheOwnerAlone)
{
    const auto path = m_folder / "old.sek";
    test::WriteBytes(path, m_old);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    SafeSave(m_fileSystem, path, [&](CFile& file) {
        file.Write(m_new.data(), m_new.size());
        const std::vector<std::string> entries = m_folder.Entries();
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_TRUE(entries[0].starts_with(".old.sek.")) << entries[0];
        struct stat status { };
        ASSERT_EQ(::stat((m_folder / entries[0]).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0600u) << "the secrets are written where only the owner can read them";
    });
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
}

TEST_F(SafeSaveTest, KeepsTheOwnerAndGroupOfTheOldFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    const auto path = m_folder / "theirs.sek";
    test::WriteBytes(path, m_old);
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
    Save(path, m_new);
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 8765u);
    EXPECT_EQ(status.st_mode & 07777, 0660u);
    EXPECT_EQ(test::ReadBytes(path), m_new);
}

TEST_F(SafeSaveTest, OwnerOnlyTakesAwayWhatTheOldFileAllowedOthers)
{
    const auto path = m_folder / "export.json";
    test::WriteBytes(path, m_old);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
    SafeSave(
        m_fileSystem, path, [&](CFile& file) { file.Write(m_new.data(), m_new.size()); }, SavedPermissions::ownerOnly);
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_EQ(test::ReadBytes(path), m_new);
    EXPECT_EQ(m_fileSystem.Calls(FileOperation::GetOwnership), 0);
    EXPECT_EQ(m_fileSystem.Calls(FileOperation::SetOwnership), 0);
}

TEST_F(SafeSaveTest, AFailureToReadOrGiveTheOwnershipLeavesTheOldFile)
{
    const auto path = m_folder / "old.sek";
    for (const FileOperation operation : {FileOperation::GetOwnership, FileOperation::SetOwnership}) {
        test::WriteBytes(path, m_old);
        m_fileSystem.Fail(operation, EIO);
        try {
            Save(path, m_new);
            ADD_FAILURE() << "the save reported success";
        } catch (const CFileException& failure) {
            EXPECT_EQ(
                failure.GetErrorMessage(), "A hardware I/O error was reported while accessing " + path.string() + ".");
        }
        EXPECT_EQ(test::ReadBytes(path), m_old);
        EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"old.sek"});
    }
}

// The temporary file carries only the owner's bits until it has taken the old file's place, so
// that one left behind by a crash shows others nothing.
TEST_F(SafeSaveTest, TheOldModeReturnsOnlyOnceTheFileIsInPlace)
{
    const auto path = m_folder / "old.sek";
    test::WriteBytes(path, m_old);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    // The rename fails and so does the clean-up, as when the program dies between them.
    m_fileSystem.Fail(FileOperation::Replace, EIO);
    m_fileSystem.Fail(FileOperation::Remove, EIO);
    EXPECT_THROW(Save(path, m_new), CFileException);
    for (const std::string& name : m_folder.Entries()) {
        struct stat status { };
        ASSERT_EQ(::stat((m_folder / name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, name == "old.sek" ? 0644u : 0600u) << name;
        if (name != "old.sek")
            std::filesystem::remove(m_folder / name);
    }

    Save(path, m_new);
    struct stat status { };
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);

    // The second giving of ownership comes after the rename: failing, it keeps the save.
    m_fileSystem.Fail(FileOperation::SetOwnership, EIO, 1);
    Save(path, m_old);
    EXPECT_EQ(test::ReadBytes(path), m_old);
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u) << "the owner's alone, which loses nothing";
}

TEST_F(SafeSaveTest, WritesTheTargetOfASymbolicLinkAndKeepsTheLink)
{
    std::filesystem::create_directory(m_folder / "sub");
    // A link to a file that exists, and one to a file not made yet, through a relative path.
    for (const bool targetExists : {true, false}) {
        const auto target = m_folder / "sub" / (targetExists ? "real.sek" : "new.sek");
        const auto link = m_folder / (targetExists ? "link.sek" : "dangling.sek");
        if (targetExists)
            test::WriteBytes(target, m_old);
        std::filesystem::create_symlink(std::filesystem::path("sub") / target.filename(), link);
        Save(link, m_new);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(test::ReadBytes(target), m_new);
    }
}

// What killed saves left goes with the next save of the same file, and nothing else does: names
// of 255 bytes are cut in their temporaries' names, and their digests tell such names apart.
TEST_F(SafeSaveTest, RemovesWhatKilledSavesOfTheFileLeftAndNothingElse)
{
    const std::string longName = std::string(251, 'l') + ".sek";
    const auto leaveTemporary = [&](const std::string& name) {
        m_fileSystem.Fail(FileOperation::Replace, EIO);
        m_fileSystem.Fail(FileOperation::Remove, EIO);
        EXPECT_THROW(Save(m_folder / name, m_new), CFileException);
    };
    leaveTemporary("x.sek");
    leaveTemporary(longName);
    const std::vector<std::string> theirs = m_folder.Entries();
    ASSERT_EQ(theirs.size(), 2u);
    const std::string& shortLeftOver = theirs.back();
    // Another long name that begins alike, a file named as users name backups, a name one
    // character too long, and a link named like a temporary.
    leaveTemporary(std::string(251, 'l') + ".kes");
    test::WriteBytes(m_folder / ".x.sek.backup", m_old);
    test::WriteBytes(m_folder / (shortLeftOver + "7"), m_old);
    std::filesystem::create_symlink("x.sek", m_folder / (shortLeftOver.substr(0, shortLeftOver.size() - 6) + "Zz0Zz0"));
    std::vector<std::string> kept = m_folder.Entries();
    for (const std::string& name : theirs)
        std::erase(kept, name);

    Save(m_folder / "x.sek", m_new);
    Save(m_folder / longName, m_new);
    EXPECT_EQ(test::ReadBytes(m_folder / longName), m_new);
    kept.insert(kept.end(), {"x.sek", longName});
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(m_folder.Entries(), kept);
}

struct FailurePoint {
    FileOperation operation;
    int skip;
    int osError;
    const char* message;
};

class SafeSaveFailure : public SafeSaveTest, public testing::WithParamInterface<FailurePoint> { };

TEST_P(SafeSaveFailure, LeavesTheOldFileAndNoTemporaryFile)
{
    const auto path = m_folder / "old.sek";
    test::WriteBytes(path, m_old);
    m_fileSystem.Fail(GetParam().operation, GetParam().osError, GetParam().skip);
    try {
        Save(path, m_new);
        FAIL() << "the save reported success";
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetErrorMessage(), StringTable::FormatText(GetParam().message, {path.string()}));
    }
    EXPECT_EQ(test::ReadBytes(path), m_old);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"old.sek"});
}

TEST_P(SafeSaveFailure, LeavesNothingWhenThereWasNoFile)
{
    const auto path = m_folder / "first.sek";
    m_fileSystem.Fail(GetParam().operation, GetParam().osError, GetParam().skip);
    EXPECT_THROW(Save(path, m_new), CFileException);
    EXPECT_TRUE(m_folder.Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SafeSaveFailure,
    testing::Values(FailurePoint {FileOperation::CreateTemporary, 0, EACCES, "Access to %1 was denied."},
        FailurePoint {FileOperation::Write, 0, ENOSPC, "Disk full while accessing %1."},
        FailurePoint {FileOperation::Write, 1, ENOSPC, "Disk full while accessing %1."},
        FailurePoint {FileOperation::Flush, 0, EIO, "A hardware I/O error was reported while accessing %1."},
        FailurePoint {FileOperation::Close, 0, EDQUOT, "Disk full while accessing %1."},
        FailurePoint {FileOperation::Replace, 0, EXDEV, "An unknown error occurred while accessing %1."},
        // Another writer kept the lock; then the lock of the new file before its rename.
        FailurePoint {FileOperation::Lock, 0, EWOULDBLOCK, "A locking violation occurred while accessing %1."},
        FailurePoint {
            FileOperation::Lock, 1, EMFILE, "%1 could not be opened because there are too many open files."}));

// What a rename would replace although it should not: the user marked the file read-only, or
// it is no document at all.
struct Refusal {
    const char* name;
    std::function<void(const std::filesystem::path& path)> make;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.name;
}

class SafeSaveRefusal : public SafeSaveTest, public testing::WithParamInterface<Refusal> { };

TEST_P(SafeSaveRefusal, IsAccessDeniedAndLeavesEverythingAsItWas)
{
    const auto path = m_folder / "target.sek";
    GetParam().make(path);
    const auto type = std::filesystem::symlink_status(path).type();
    const auto targetType = std::filesystem::status(path).type();
    const auto before = std::filesystem::is_regular_file(path) ? test::ReadBytes(path) : Bytes {};
    bool written = false;
    try {
        SafeSave(m_fileSystem, path, [&](CFile&) { written = true; });
        FAIL() << "the save reported success";
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.m_cause, CFileException::accessDenied);
        EXPECT_EQ(failure.GetErrorMessage(), "Access to " + path.string() + " was denied.");
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(m_fileSystem.Calls(FileOperation::CreateTemporary), 0);
    EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
    EXPECT_EQ(std::filesystem::status(path).type(), targetType);
    if (std::filesystem::is_regular_file(path)) {
        EXPECT_EQ(test::ReadBytes(path), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, SafeSaveRefusal,
    testing::Values(Refusal {"ReadOnlyFile",
                        [](const std::filesystem::path& path) {
                            test::WriteBytes(path, {'o', 'l', 'd'});
                            ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
                        }},
        Refusal {"NamedPipe", [](const std::filesystem::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }},
        Refusal {"Folder", [](const std::filesystem::path& path) { std::filesystem::create_directory(path); }},
        Refusal {"LinkToAPipe",
            [](const std::filesystem::path& path) {
                ASSERT_EQ(::mkfifo((path.parent_path() / "pipe").c_str(), 0600), 0);
                std::filesystem::create_symlink("pipe", path);
            }}),
    [](const testing::TestParamInfo<Refusal>& testInfo) { return testInfo.param.name; });

TEST_F(SafeSaveTest, ACancelledWriteLeavesTheOldFileAndNoTemporaryFile)
{
    const auto path = m_folder / "old.sek";
    test::WriteBytes(path, m_old);
    EXPECT_THROW(SafeSave(m_fileSystem, path,
                     [&](CFile& file) {
                         file.Write(m_new.data(), m_new.size());
                         throw CUserException();
                     }),
        CUserException);
    EXPECT_EQ(test::ReadBytes(path), m_old);
    EXPECT_EQ(m_folder.Entries(), std::vector<std::string> {"old.sek"});
}

TEST_F(SafeSaveTest, AMissingFolderIsReportedAsNotFound)
{
    const auto path = m_folder / "no-such-folder" / "x.sek";
    try {
        Save(path, m_new);
        FAIL() << "the save reported success";
    } catch (const CFileException& failure) {
        EXPECT_EQ(failure.GetErrorMessage(), path.string() + " was not found.");
    }
}

}  // namespace
}  // namespace sekreta
