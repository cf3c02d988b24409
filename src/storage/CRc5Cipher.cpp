#include "storage/CRc5Cipher.h"

#include "platform/posix/LockedScratch.h"
#include "storage/Rc5Lanes.h"

#include <algorithm>

namespace sekreta {

namespace {

constexpr std::uint32_t kMagicP = 0xB7E15163U;
constexpr std::uint32_t kMagicQ = 0x9E3779B9U;

}  // namespace

CRc5Cipher::CRc5Cipher(const std::uint8_t* key, std::size_t keyLength, std::uint32_t rounds)
    : m_rounds(rounds)
    , m_table((2 * static_cast<std::size_t>(rounds) + 2) * sizeof(std::uint32_t))
{
    const std::size_t tableSize = 2 * static_cast<std::size_t>(rounds) + 2;

    // An empty key still mixes against one zero word, so the schedule never
    // takes a remainder modulo zero. The words are the key itself: locked and
    // wiped like the table.
    const std::size_t keyWords = std::max<std::size_t>(1, (keyLength + 3) / 4);
    const platform::LockedScratch workBytes(keyWords * sizeof(std::uint32_t));
    auto* work = reinterpret_cast<std::uint32_t*>(workBytes.Data());
    for (std::size_t i = 0; i < keyLength; ++i) {
        work[i / 4] |= static_cast<std::uint32_t>(key[i]) << (8 * (i % 4));
    }

    auto* table = reinterpret_cast<std::uint32_t*>(m_table.Data());
    table[0] = kMagicP;
    for (std::size_t i = 1; i < tableSize; ++i) {
        table[i] = table[i - 1] + kMagicQ;
    }

    std::uint32_t a = 0;
    std::uint32_t b = 0;
    const std::size_t steps = 3 * std::max(tableSize, keyWords);
    for (std::size_t h = 0; h < steps; ++h) {
        std::uint32_t& s = table[h % tableSize];
        std::uint32_t& l = work[h % keyWords];
        a = s = rc5::RotateLeft(s + a + b, 3);
        b = l = rc5::RotateLeft(l + a + b, a + b);
    }
}

// The table wipes itself.
CRc5Cipher::~CRc5Cipher() = default;

std::size_t CRc5Cipher::BlockSize() const
{
    return 8;
}

}  // namespace sekreta
