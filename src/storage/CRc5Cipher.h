#pragma once

#include "platform/posix/LockedBytes.h"
#include "storage/CBlockCipher.h"

#include <cstddef>
#include <cstdint>

namespace sekreta {

// RC5 with 32-bit words and 8-byte blocks: owns the expanded key that the
// encryptor and decryptor share. The key is consumed by the constructor and
// not kept; the expanded key lies on locked pages and is wiped on destruction.
// The constructor throws std::bad_alloc when memory runs out.
class CRc5Cipher : public CBlockCipher {
public:
    CRc5Cipher(const std::uint8_t* key, std::size_t keyLength, std::uint32_t rounds);
    ~CRc5Cipher() override;

    std::size_t BlockSize() const override;

protected:
    std::uint32_t Rounds() const { return m_rounds; }

    // The expanded key S: 2 * Rounds() + 2 words.
    const std::uint32_t* Table() const { return reinterpret_cast<const std::uint32_t*>(m_table.Data()); }

private:
    std::uint32_t m_rounds;
    platform::LockedBytes m_table;
};

}  // namespace sekreta
