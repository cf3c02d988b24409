#pragma once

#include "storage/CChecksum.h"

#include <cstddef>
#include <cstdint>

namespace sekreta {

// CRC-32 as used by IEEE 802.3 and zip (reflected, polynomial 0xEDB88320,
// register preset to all ones, result complemented). The 4-byte digest is
// written least significant byte first.
class CCrc32 : public CChecksum {
public:
    void Update(const std::uint8_t* bytes, std::size_t length) override;
    void Final(std::uint8_t* digest) override;
    std::size_t DigestSize() const override;

private:
    static constexpr std::uint32_t kInitialRegister = 0xFFFFFFFFU;

    std::uint32_t m_register = kInitialRegister;
};

}  // namespace sekreta
