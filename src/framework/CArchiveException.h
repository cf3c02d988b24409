#pragma once

#include "framework/CException.h"

#include <string>

namespace sekreta {

// Reading or writing an archive failed on its contents rather than on the file.
class CArchiveException : public CException {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        readOnly = 2,  // a write to an archive that is loading
        endOfFile = 3,  // a read ran past the data
        writeOnly = 4,  // a read from an archive that is storing
        badIndex = 5,
        badClass = 6,
        badSchema = 7,
    };

    explicit CArchiveException(int cause = none, std::string fileName = {})
        : m_cause(cause)
        , m_strFileName(std::move(fileName))
    {
    }
    const char* what() const noexcept override { return "archive failure"; }

    int m_cause;
    std::string m_strFileName;
};

}  // namespace sekreta
