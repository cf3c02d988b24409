#include "storage/CRc5Decryptor.h"

namespace sekreta {

void CRc5Decryptor::TransformBlock(const std::uint8_t* input, std::uint8_t* output)
{
    const std::uint32_t* s = Table();
    const std::uint32_t rounds = Rounds();

    std::uint32_t a = LoadWord(input);
    std::uint32_t b = LoadWord(input + 4);
    for (std::uint32_t i = rounds; i >= 1; --i) {
        b = RotateRight(b - s[2 * i + 1], a) ^ a;
        a = RotateRight(a - s[2 * i], b) ^ b;
    }
    StoreWord(a - s[0], output);
    StoreWord(b - s[1], output + 4);
}

void CRc5Decryptor::TransformBlock(std::uint8_t* block)
{
    TransformBlock(block, block);
}

}  // namespace sekreta
