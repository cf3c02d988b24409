#include "platform/posix/LockedBytes.h"

#include "platform/SecureZero.h"

#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace sekreta::platform {

namespace {

std::align_val_t PageAlignment()
{
    static const auto pageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return std::align_val_t(pageSize);
}

}  // namespace

LockedBytes::LockedBytes(std::size_t size)
    : m_size(size)
    , m_bytes(static_cast<std::uint8_t*>(::operator new(size == 0 ? 1 : size, PageAlignment())))
    , m_locked(::mlock(m_bytes, m_size) == 0)
{
    std::memset(m_bytes, 0, m_size);
}

LockedBytes::~LockedBytes()
{
    SecureZero(m_bytes, m_size);
    if (m_locked)
        ::munlock(m_bytes, m_size);
    ::operator delete(m_bytes, PageAlignment());
}

}  // namespace sekreta::platform
