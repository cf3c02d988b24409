#pragma once

#include "platform/RandomSource.h"

#include <cstdint>

namespace sekreta::platform {

// The C runtime's linear congruential generator with a fixed seed: tests pin exact passwords.
class CrtRandomSource : public RandomSource {
public:
    explicit CrtRandomSource(std::uint32_t seed)
        : m_state(seed)
    {
    }
    int Next() override
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state;
};

}  // namespace sekreta::platform
