#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

// RC5-32 rounds on plain words, for one block or a few blocks side by side.
namespace sekreta::rc5 {

// Only the low five bits of the amount count, as RC5 requires.
inline std::uint32_t RotateLeft(std::uint32_t value, std::uint32_t amount)
{
    return std::rotl(value, static_cast<int>(amount & 31U));
}

inline std::uint32_t RotateRight(std::uint32_t value, std::uint32_t amount)
{
    return std::rotr(value, static_cast<int>(amount & 31U));
}

// Blocks hold their two words least significant byte first on every host.
inline std::uint32_t LoadWord(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8)
        | (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

inline void StoreWord(std::uint32_t word, std::uint8_t* bytes)
{
    bytes[0] = static_cast<std::uint8_t>(word);
    bytes[1] = static_cast<std::uint8_t>(word >> 8);
    bytes[2] = static_cast<std::uint8_t>(word >> 16);
    bytes[3] = static_cast<std::uint8_t>(word >> 24);
}

// Encrypts Lanes consecutive blocks under the expanded key s of 2 * rounds + 2 words. The
// lanes go through each half-round together: one block's rounds depend on each other, but
// the processor can work on several blocks' at once. All words are read before any is
// written, so output may be input.
template <std::size_t Lanes>
void EncryptLanes(const std::uint32_t* s, std::uint32_t rounds, const std::uint8_t* input, std::uint8_t* output)
{
    std::uint32_t a[Lanes];
    std::uint32_t b[Lanes];
#pragma GCC unroll 8
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        a[lane] = LoadWord(input + 8 * lane) + s[0];
        b[lane] = LoadWord(input + 8 * lane + 4) + s[1];
    }
    for (std::uint32_t i = 1; i <= rounds; ++i) {
#pragma GCC unroll 8
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            a[lane] = RotateLeft(a[lane] ^ b[lane], b[lane]) + s[2 * i];
#pragma GCC unroll 8
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            b[lane] = RotateLeft(b[lane] ^ a[lane], a[lane]) + s[2 * i + 1];
    }
#pragma GCC unroll 8
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        StoreWord(a[lane], output + 8 * lane);
        StoreWord(b[lane], output + 8 * lane + 4);
    }
}

// The exact inverse of EncryptLanes under the same key and rounds.
template <std::size_t Lanes>
void DecryptLanes(const std::uint32_t* s, std::uint32_t rounds, const std::uint8_t* input, std::uint8_t* output)
{
    std::uint32_t a[Lanes];
    std::uint32_t b[Lanes];
#pragma GCC unroll 8
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        a[lane] = LoadWord(input + 8 * lane);
        b[lane] = LoadWord(input + 8 * lane + 4);
    }
    for (std::uint32_t i = rounds; i >= 1; --i) {
#pragma GCC unroll 8
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            b[lane] = RotateRight(b[lane] - s[2 * i + 1], a[lane]) ^ a[lane];
#pragma GCC unroll 8
        for (std::size_t lane = 0; lane < Lanes; ++lane)
            a[lane] = RotateRight(a[lane] - s[2 * i], b[lane]) ^ b[lane];
    }
#pragma GCC unroll 8
    for (std::size_t lane = 0; lane < Lanes; ++lane) {
        StoreWord(a[lane] - s[0], output + 8 * lane);
        StoreWord(b[lane] - s[1], output + 8 * lane + 4);
    }
}

}  // namespace sekreta::rc5
