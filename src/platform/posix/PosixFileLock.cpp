#include "platform/posix/PosixFileLock.h"

#include <unistd.h>

namespace sekreta::platform {

PosixFileLock::PosixFileLock(int descriptor, bool held)
    : m_descriptor(descriptor)
    , m_held(held)
{
}

PosixFileLock::~PosixFileLock()
{
    ::close(m_descriptor);
}

}  // namespace sekreta::platform
