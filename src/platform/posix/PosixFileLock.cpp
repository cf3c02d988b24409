#include "platform/posix/PosixFileLock.h"

#include <unistd.h>

namespace sekreta::platform {

PosixFileLock::PosixFileLock(int descriptor)
    : m_descriptor(descriptor)
{
}

PosixFileLock::~PosixFileLock()
{
    ::close(m_descriptor);
}

}  // namespace sekreta::platform
