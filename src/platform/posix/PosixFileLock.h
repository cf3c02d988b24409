#pragma once

#include "platform/FileSystem.h"

namespace sekreta::platform {

// A descriptor that carries a flock lock: closing it, when the object goes or the process ends,
// releases the lock.
class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int descriptor);
    ~PosixFileLock() override;
    PosixFileLock(const PosixFileLock&) = delete;
    PosixFileLock& operator=(const PosixFileLock&) = delete;

private:
    int m_descriptor;
};

}  // namespace sekreta::platform
