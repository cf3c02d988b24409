#pragma once

#include "platform/posix/LockedBytes.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace sekreta::platform {

// A few bytes of short-lived key material (a derived key on its way into a cipher) from a page
// that each thread locks once and keeps locked: locking and unlocking a page of their own would
// cost far more than their use (some 7 µs against well under one). Scratch bytes are given back
// in the opposite order of taking them, as scopes end; what does not fit in the page gets
// LockedBytes of its own. Zero at first, wiped when given back.
class LockedScratch {
public:
    // Throws std::bad_alloc when the memory cannot be had.
    explicit LockedScratch(std::size_t size);
    ~LockedScratch();
    LockedScratch(const LockedScratch&) = delete;
    LockedScratch& operator=(const LockedScratch&) = delete;

    std::uint8_t* Data() const { return m_bytes; }
    std::size_t Size() const { return m_size; }

private:
    std::size_t m_size;
    std::size_t m_taken;  // of this thread's page; 0 for bytes of their own
    std::unique_ptr<LockedBytes> m_own;
    std::uint8_t* m_bytes;
};

}  // namespace sekreta::platform
