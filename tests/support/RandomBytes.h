#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace sekreta::test {

// The same bytes for the same seed, on every run.
inline std::vector<std::uint8_t> RandomBytes(std::size_t length, std::uint32_t seed)
{
    std::mt19937 engine(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(length);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(byte(engine));
    return bytes;
}

}  // namespace sekreta::test
