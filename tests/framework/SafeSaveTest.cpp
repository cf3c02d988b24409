#include "framework/SafeSave.h"

#include "framework/CException.h"
#include "framework/CFileException.h"
#include "framework/StringTable.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

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

TEST_F(SafeSaveTest, ReplacesTheTargetOfASymbolicLinkAndKeepsTheLink)
{
    const auto target = m_folder / "real.sek";
    const auto link = m_folder / "link.sek";
    test::WriteBytes(target, m_old);
    std::filesystem::create_symlink(target, link);
    Save(link, m_new);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(target), m_new);
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
        FailurePoint {FileOperation::Replace, 0, EXDEV, "An unknown error occurred while accessing %1."}));

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
