#pragma once

#include "platform/FileSystem.h"

namespace sekreta::platform {

// A descriptor that carries a flock lock, or would where the file system had them: closing it,
// when the object goes or the process ends, releases the lock.
class PosixFileLock : public FileLock {
public:
    PosixFileLock(int descriptor, bool held);
    ~PosixFileLock() override;
    PosixFileLock(const PosixFileLock&) = delete;
    PosixFileLock& operator=(const PosixFileLock&) = delete;

    bool IsHeld() const override { return m_held; }

private:
    int m_descriptor;
    bool m_held;
};

}  // namespace sekreta::platform
