#pragma once

#include "storage/CRc5Cipher.h"

namespace sekreta {

// RC5-32 block encryption. Final so that callers holding the concrete type
// get direct, inlinable calls in their per-block loops.
class CRc5Encryptor final : public CRc5Cipher {
public:
    using CRc5Cipher::CRc5Cipher;

    void TransformBlock(const std::uint8_t* input, std::uint8_t* output) override;
    void TransformBlock(std::uint8_t* block) override;
};

}  // namespace sekreta
