#include "platform/xdg/UniqueDescriptor.h"

#include <unistd.h>
#include <utility>

namespace sekreta::platform {

UniqueDescriptor::~UniqueDescriptor()
{
    Reset();
}

UniqueDescriptor::UniqueDescriptor(UniqueDescriptor&& other) noexcept
    : m_descriptor(other.Release())
{
}

UniqueDescriptor& UniqueDescriptor::operator=(UniqueDescriptor&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_descriptor = other.Release();
    }
    return *this;
}

int UniqueDescriptor::Release()
{
    return std::exchange(m_descriptor, -1);
}

void UniqueDescriptor::Reset()
{
    if (m_descriptor >= 0)
        ::close(Release());
}

}  // namespace sekreta::platform
