#pragma once

#include "storage/CRc5Decryptor.h"
#include "storage/CRc5Encryptor.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace sekreta {

// Derives the 16-byte RC5 key from a pass phrase: four CRC-32 digests, of the
// phrase and of the phrase rotated left by one, two and three bytes, each
// written least significant byte first.
std::array<std::uint8_t, 16> DeriveKey(std::string_view passPhrase);
// The same, written into `key`, for a caller that keeps key material where it chooses.
void DeriveKey(std::string_view passPhrase, std::span<std::uint8_t, 16> key);

// The RC5-32/12 ciphers under DeriveKey(passPhrase) that the buffer operations use, for
// callers that encrypt or decrypt a stream piece by piece. The derived key lies on a locked page
// and is wiped once the cipher has expanded it; the cipher wipes its table when destroyed.
std::unique_ptr<CRc5Encryptor> MakeEncryptor(std::string_view passPhrase);
std::unique_ptr<CRc5Decryptor> MakeDecryptor(std::string_view passPhrase);

// Encrypts buffer in place with RC5-32/12 under DeriveKey(passPhrase), each
// 8-byte block on its own (no chaining, no IV: equal plain blocks give equal
// cipher blocks).
// Throws std::invalid_argument, leaving buffer untouched, when buffer.size()
// is not a multiple of 8.
void EncryptBuffer(std::string_view passPhrase, std::span<std::uint8_t> buffer);

// Exact inverse of EncryptBuffer under the same pass phrase.
// Throws std::invalid_argument, leaving buffer untouched, when buffer.size()
// is not a multiple of 8.
void DecryptBuffer(std::string_view passPhrase, std::span<std::uint8_t> buffer);

}  // namespace sekreta
