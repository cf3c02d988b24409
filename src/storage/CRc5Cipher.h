#pragma once

#include "storage/CBlockCipher.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace sekreta {

// RC5 with 32-bit words and 8-byte blocks: owns the expanded key that the
// encryptor and decryptor share. The key is consumed by the constructor and
// not kept; the expanded key is wiped on destruction.
class CRc5Cipher : public CBlockCipher {
public:
    CRc5Cipher(const std::uint8_t* key, std::size_t keyLength, std::uint32_t rounds);
    ~CRc5Cipher() override;

    std::size_t BlockSize() const override;

protected:
    std::uint32_t Rounds() const { return m_rounds; }

    // The expanded key S: 2 * Rounds() + 2 words.
    const std::uint32_t* Table() const { return m_table.get(); }

    // Only the low five bits of the amount count, as RC5 requires.
    static std::uint32_t RotateLeft(std::uint32_t value, std::uint32_t amount)
    {
        return std::rotl(value, static_cast<int>(amount & 31U));
    }

    static std::uint32_t RotateRight(std::uint32_t value, std::uint32_t amount)
    {
        return std::rotr(value, static_cast<int>(amount & 31U));
    }

    // Blocks hold their two words least significant byte first on every host.
    static std::uint32_t LoadWord(const std::uint8_t* bytes)
    {
        return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8)
            | (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    }

    static void StoreWord(std::uint32_t word, std::uint8_t* bytes)
    {
        bytes[0] = static_cast<std::uint8_t>(word);
        bytes[1] = static_cast<std::uint8_t>(word >> 8);
        bytes[2] = static_cast<std::uint8_t>(word >> 16);
        bytes[3] = static_cast<std::uint8_t>(word >> 24);
    }

private:
    std::uint32_t m_rounds;
    std::unique_ptr<std::uint32_t[]> m_table;
};

}  // namespace sekreta
