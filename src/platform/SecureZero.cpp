#include "platform/SecureZero.h"

#include <cstring>

namespace sekreta::platform {

void SecureZero(void* data, std::size_t size)
{
    if (size == 0)
        return;
    std::memset(data, 0, size);
    // The barrier tells the compiler the memory may be observed, so the
    // stores cannot be dropped or sunk past the caller's release of it.
    asm volatile("" : : "r"(data) : "memory");
}

}  // namespace sekreta::platform
