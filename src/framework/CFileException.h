#pragma once

#include "framework/CException.h"

#include <string>
#include <system_error>

namespace sekreta {

// A file operation failed; the cause says how, in the words of the string table.
class CFileException : public CException {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    // osError is the system's error number, or -1 when there is none.
    explicit CFileException(int cause = none, int osError = -1, std::string fileName = {});
    // The failure for a system error that happened on fileName.
    static CFileException FromError(std::error_code error, std::string fileName);
    static int OsErrorToCause(int osError);

    // The cause's text with %1 the file name ("an unnamed file" when there is none).
    std::string GetErrorMessage() const;
    const char* what() const noexcept override { return "file failure"; }

    int m_cause;
    int m_lOsError;
    std::string m_strFileName;
};

}  // namespace sekreta
