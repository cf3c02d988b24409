#pragma once

#include <cstdint>

namespace sekreta::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Whole seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t Now() = 0;
};

}  // namespace sekreta::platform
