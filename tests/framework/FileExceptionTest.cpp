#include "framework/CFileException.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace sekreta {
namespace {

TEST(FileException, EveryCauseHasItsText)
{
    const char* const texts[] = {
        "No error occurred.",
        "An unknown error occurred while accessing /d/x.sek.",
        "/d/x.sek was not found.",
        "/d/x.sek contains an invalid path.",
        "/d/x.sek could not be opened because there are too many open files.",
        "Access to /d/x.sek was denied.",
        "An invalid file handle was associated with /d/x.sek.",
        "/d/x.sek could not be removed because it is the current directory.",
        "/d/x.sek could not be created because the directory is full.",
        "Seek failed on /d/x.sek",
        "A hardware I/O error was reported while accessing /d/x.sek.",
        "A sharing violation occurred while accessing /d/x.sek.",
        "A locking violation occurred while accessing /d/x.sek.",
        "Disk full while accessing /d/x.sek.",
        "An attempt was made to access /d/x.sek past its end.",
    };
    for (int cause = 0; cause <= CFileException::endOfFile; ++cause)
        EXPECT_EQ(CFileException(cause, -1, "/d/x.sek").GetErrorMessage(), texts[cause]) << "cause " << cause;
}

TEST(FileException, AFailureWithoutANameSpeaksOfAnUnnamedFile)
{
    EXPECT_EQ(CFileException(CFileException::accessDenied).GetErrorMessage(), "Access to an unnamed file was denied.");
}

TEST(FileException, SystemErrorsBecomeCauses)
{
    const std::pair<int, int> cases[] = {
        {ENOENT, CFileException::fileNotFound},
        {ENOTDIR, CFileException::badPath},
        {ENAMETOOLONG, CFileException::badPath},
        {EMFILE, CFileException::tooManyOpenFiles},
        {EACCES, CFileException::accessDenied},
        {EROFS, CFileException::accessDenied},
        {EISDIR, CFileException::accessDenied},
        {EIO, CFileException::hardIO},
        {ENOSPC, CFileException::diskFull},
        {EDQUOT, CFileException::diskFull},
        {ENOLCK, CFileException::lockViolation},
        {EXDEV, CFileException::genericException},
    };
    for (const auto& [osError, cause] : cases) {
        const CFileException failure = CFileException::FromError({osError, std::generic_category()}, "f");
        EXPECT_EQ(failure.m_cause, cause) << "errno " << osError;
        EXPECT_EQ(failure.m_lOsError, osError);
        EXPECT_EQ(failure.m_strFileName, "f");
    }
}

}  // namespace
}  // namespace sekreta
