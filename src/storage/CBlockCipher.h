#pragma once

#include <cstddef>
#include <cstdint>

namespace sekreta {

// A keyed transformation of 8-byte blocks (one direction only).
class CBlockCipher {
public:
    CBlockCipher() = default;
    CBlockCipher(const CBlockCipher&) = delete;
    CBlockCipher& operator=(const CBlockCipher&) = delete;
    virtual ~CBlockCipher() = default;

    // Reads BlockSize() bytes from input and writes BlockSize() bytes to
    // output; input and output may be the same bytes.
    virtual void TransformBlock(const std::uint8_t* input, std::uint8_t* output) = 0;

    // Transforms BlockSize() bytes in place.
    virtual void TransformBlock(std::uint8_t* block) = 0;

    virtual std::size_t BlockSize() const = 0;
};

}  // namespace sekreta
