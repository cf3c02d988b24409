#pragma once

#include <cstddef>
#include <cstdint>

namespace sekreta::platform {

// Bytes for key material, kept out of swap where the system allows it (mlock; a refusal, such as
// a spent RLIMIT_MEMLOCK, is no error and leaves them unlocked). They start a page of their own:
// locks do not nest, so unlocking these must never unlock a page that other locked bytes still
// need. Zero at first, wiped before they are released.
class LockedBytes {
public:
    // Throws std::bad_alloc when the memory cannot be had.
    explicit LockedBytes(std::size_t size);
    ~LockedBytes();
    LockedBytes(const LockedBytes&) = delete;
    LockedBytes& operator=(const LockedBytes&) = delete;

    std::uint8_t* Data() const { return m_bytes; }
    std::size_t Size() const { return m_size; }

private:
    std::size_t m_size;
    std::uint8_t* m_bytes;
    bool m_locked;
};

}  // namespace sekreta::platform
