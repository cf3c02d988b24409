#include "platform/SecureZero.h"

namespace sekreta::platform {

void SecureZero(void* data, std::size_t size)
{
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = 0;
    }
    // The barrier tells the compiler the memory may be observed, so the
    // stores cannot be dropped or sunk past the caller's release of it.
    asm volatile("" : : "r"(data) : "memory");
}

}  // namespace sekreta::platform
