#include "storage/BufferCipher.h"

#include "storage/CCrc32.h"
#include "storage/CRc5Decryptor.h"
#include "storage/CRc5Encryptor.h"
#include "storage/SecureZero.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace sekreta {

namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::uint32_t kRounds = 12;

template <typename Cipher> void TransformBuffer(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    if (buffer.size() % kBlockSize != 0) {
        throw std::invalid_argument("buffer length must be a multiple of 8 bytes");
    }

    std::array<std::uint8_t, 16> key = DeriveKey(passPhrase);
    Cipher cipher(key.data(), key.size(), kRounds);
    SecureZero(key.data(), key.size());

    // The blocks do not depend on each other, so the cipher takes as many at once as it can.
    cipher.TransformBlocks(buffer.data(), buffer.size() / kBlockSize);
}

}  // namespace

std::array<std::uint8_t, 16> DeriveKey(std::string_view passPhrase)
{
    std::array<std::uint8_t, 16> key {};
    std::vector<std::uint8_t> work(passPhrase.begin(), passPhrase.end());
    CCrc32 crc;
    for (std::size_t part = 0; part < 4; ++part) {
        crc.Update(work.data(), work.size());
        crc.Final(key.data() + 4 * part);
        if (!work.empty()) {
            std::rotate(work.begin(), work.begin() + 1, work.end());
        }
    }
    SecureZero(work.data(), work.size());
    return key;
}

void EncryptBuffer(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    TransformBuffer<CRc5Encryptor>(passPhrase, buffer);
}

void DecryptBuffer(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    TransformBuffer<CRc5Decryptor>(passPhrase, buffer);
}

}  // namespace sekreta
