#include "framework/CFileException.h"

#include "framework/StringTable.h"

#include <cerrno>

namespace sekreta {

CFileException::CFileException(int cause, int osError, std::string fileName)
    : m_cause(cause)
    , m_lOsError(osError)
    , m_strFileName(std::move(fileName))
{
}

CFileException CFileException::FromError(std::error_code error, std::string fileName)
{
    const int osError = error.category() == std::generic_category() || error.category() == std::system_category()
        ? error.value()
        : -1;
    return CFileException(OsErrorToCause(osError), osError, std::move(fileName));
}

int CFileException::OsErrorToCause(int osError)
{
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case ESPIPE:
        return badSeek;
    case EIO:
        return hardIO;
    case ETXTBSY:
    case EBUSY:
        return sharingViolation;
    case EWOULDBLOCK:
    case ENOLCK:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return genericException;
    }
}

std::string CFileException::GetErrorMessage() const
{
    const int cause = m_cause >= none && m_cause <= endOfFile ? m_cause : genericException;
    const std::string name = m_strFileName.empty() ? StringTable::Load(IDS_UNNAMED_FILE) : m_strFileName;
    return StringTable::Format(IDP_FILE_NONE + static_cast<unsigned>(cause), {name});
}

}  // namespace sekreta
