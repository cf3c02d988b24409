#include "platform/posix/SystemRandomSource.h"

#include <cerrno>
#include <cstdint>
#include <sys/random.h>
#include <system_error>

namespace sekreta::platform {

int SystemRandomSource::Next()
{
    std::uint16_t value = 0;
    for (;;) {
        const ssize_t got = ::getrandom(&value, sizeof value, 0);
        if (got == static_cast<ssize_t>(sizeof value))
            break;
        if (got < 0 && errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "getrandom");
    }
    // The low 15 bits of a uniform 16-bit value are uniform over 0..32767.
    return value & 0x7FFF;
}

}  // namespace sekreta::platform
