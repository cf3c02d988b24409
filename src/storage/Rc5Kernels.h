#pragma once

#include "storage/Rc5Kernel.h"

#include <cstddef>
#include <cstdint>

// The kernels behind CRc5Encryptor::TransformBlocks and CRc5Decryptor::TransformBlocks. Each
// transforms `count` 8-byte blocks in place under the expanded key s of 2 * rounds + 2 words.
namespace sekreta::rc5 {

// Runs the kernel over all the blocks. Throws std::invalid_argument, changing nothing, when
// the processor cannot run it.
void Encrypt(Rc5Kernel kernel, const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);
void Decrypt(Rc5Kernel kernel, const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);

void EncryptPortable(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);
void DecryptPortable(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);

// The vector kernels take whole vectors of blocks only and return how many blocks they did;
// the portable kernel finishes the rest. They exist on x86 alone, and only CanRun may let
// them run.
std::size_t EncryptAvx2(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);
std::size_t DecryptAvx2(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);
std::size_t EncryptAvx512(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);
std::size_t DecryptAvx512(const std::uint32_t* s, std::uint32_t rounds, std::uint8_t* blocks, std::size_t count);

}  // namespace sekreta::rc5
