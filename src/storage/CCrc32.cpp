#include "storage/CCrc32.h"

#include <array>
#include <bit>
#include <cstring>

namespace sekreta {

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320U;

constexpr std::array<std::uint32_t, 256> MakeTable()
{
    std::array<std::uint32_t, 256> table {};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t remainder = i;
        for (int bit = 0; bit < 8; ++bit) {
            remainder = (remainder & 1U) != 0 ? (remainder >> 1) ^ kPolynomial : remainder >> 1;
        }
        table[i] = remainder;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

constexpr std::uint32_t Step(std::uint32_t reg)
{
    return kTable[reg & 0xFFU] ^ (reg >> 8);
}

std::uint32_t ReadLittleEndianWord(const std::uint8_t* bytes)
{
    std::uint32_t word;
    std::memcpy(&word, bytes, sizeof(word));
    if constexpr (std::endian::native == std::endian::big) {
        word = ((word & 0x000000FFU) << 24) | ((word & 0x0000FF00U) << 8) | ((word & 0x00FF0000U) >> 8)
            | ((word & 0xFF000000U) >> 24);
    }
    return word;
}

}  // namespace

void CCrc32::Update(const std::uint8_t* bytes, std::size_t length)
{
    std::uint32_t reg = m_register;

    while (length > 0 && reinterpret_cast<std::uintptr_t>(bytes) % 4 != 0) {
        reg = Step(reg ^ *bytes);
        ++bytes;
        --length;
    }

    // XORing a little-endian word into the register and stepping four times
    // consumes the same four bytes in the same order as the single-byte rule.
    while (length >= 4) {
        reg ^= ReadLittleEndianWord(bytes);
        reg = Step(reg);
        reg = Step(reg);
        reg = Step(reg);
        reg = Step(reg);
        bytes += 4;
        length -= 4;
    }

    while (length > 0) {
        reg = Step(reg ^ *bytes);
        ++bytes;
        --length;
    }

    m_register = reg;
}

void CCrc32::Final(std::uint8_t* digest)
{
    const std::uint32_t crc = ~m_register;
    digest[0] = static_cast<std::uint8_t>(crc);
    digest[1] = static_cast<std::uint8_t>(crc >> 8);
    digest[2] = static_cast<std::uint8_t>(crc >> 16);
    digest[3] = static_cast<std::uint8_t>(crc >> 24);
    m_register = kInitialRegister;
}

std::size_t CCrc32::DigestSize() const
{
    return 4;
}

}  // namespace sekreta
