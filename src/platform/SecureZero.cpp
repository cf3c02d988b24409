#include "platform/SecureZero.h"

#include <cstring>

namespace sekreta::platform {

namespace {

// The capacity of a string that holds its text inside itself.
const std::size_t kInlineCapacity = std::string().capacity();

void WipeBuffer(std::string& text)
{
    text.resize(text.capacity());
    SecureZero(text.data(), text.size());
    text.clear();
}

}  // namespace

void SecureZero(void* data, std::size_t size)
{
    if (size == 0)
        return;
    std::memset(data, 0, size);
    // The barrier tells the compiler the memory may be observed, so the
    // stores cannot be dropped or sunk past the caller's release of it.
    asm volatile("" : : "r"(data) : "memory");
}

void SecureClear(std::string& text)
{
    WipeBuffer(text);
    if (text.capacity() > kInlineCapacity) {
        // Gives the wiped block back and returns to the inline buffer.
        text.shrink_to_fit();
        WipeBuffer(text);
    }
}

}  // namespace sekreta::platform
