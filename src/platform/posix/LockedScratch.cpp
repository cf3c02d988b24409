#include "platform/posix/LockedScratch.h"

#include "platform/SecureZero.h"

#include <cstring>

namespace sekreta::platform {

namespace {

constexpr std::size_t kPageBytes = 4096;
constexpr std::size_t kAlignment = 16;

struct ScratchPage {
    LockedBytes bytes {kPageBytes};
    std::size_t used = 0;
};

ScratchPage& ThisThreadsPage()
{
    thread_local ScratchPage page;
    return page;
}

}  // namespace

LockedScratch::LockedScratch(std::size_t size)
    : m_size(size)
    , m_taken((size + kAlignment - 1) / kAlignment * kAlignment)
{
    ScratchPage& page = ThisThreadsPage();
    if (m_taken != 0 && m_taken <= kPageBytes - page.used) {
        m_bytes = page.bytes.Data() + page.used;
        page.used += m_taken;
        std::memset(m_bytes, 0, m_size);
    } else {
        m_taken = 0;
        m_own = std::make_unique<LockedBytes>(size);
        m_bytes = m_own->Data();
    }
}

LockedScratch::~LockedScratch()
{
    SecureZero(m_bytes, m_size);
    ThisThreadsPage().used -= m_taken;
}

}  // namespace sekreta::platform
