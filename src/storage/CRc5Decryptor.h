#pragma once

#include "storage/CRc5Cipher.h"
#include "storage/Rc5Kernel.h"

namespace sekreta {

// RC5-32 block decryption, the exact inverse of CRc5Encryptor under the same
// key and round count. Final for the same reason as the encryptor.
class CRc5Decryptor final : public CRc5Cipher {
public:
    using CRc5Cipher::CRc5Cipher;

    void TransformBlock(const std::uint8_t* input, std::uint8_t* output) override;
    void TransformBlock(std::uint8_t* block) override;

    // Decrypts `count` consecutive blocks in place, each on its own, many at once with the
    // kernel. Throws std::invalid_argument, changing nothing, when the processor cannot run it.
    void TransformBlocks(std::uint8_t* blocks, std::size_t count, Rc5Kernel kernel = FastestRc5Kernel());
};

}  // namespace sekreta
