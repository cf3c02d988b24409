#include "storage/CRc5Encryptor.h"

namespace sekreta {

void CRc5Encryptor::TransformBlock(const std::uint8_t* input, std::uint8_t* output)
{
    const std::uint32_t* s = Table();
    const std::uint32_t rounds = Rounds();

    // Both words are read before anything is written, so output may alias input.
    std::uint32_t a = LoadWord(input) + s[0];
    std::uint32_t b = LoadWord(input + 4) + s[1];
    for (std::uint32_t i = 1; i <= rounds; ++i) {
        a = RotateLeft(a ^ b, b) + s[2 * i];
        b = RotateLeft(b ^ a, a) + s[2 * i + 1];
    }
    StoreWord(a, output);
    StoreWord(b, output + 4);
}

void CRc5Encryptor::TransformBlock(std::uint8_t* block)
{
    TransformBlock(block, block);
}

}  // namespace sekreta
