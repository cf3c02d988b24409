#include "storage/BufferCipher.h"

#include "platform/SecureZero.h"
#include "platform/posix/LockedScratch.h"
#include "storage/CCrc32.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <vector>

namespace sekreta {

namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::uint32_t kRounds = 12;

constexpr std::size_t kKeySize = 16;

// The key bytes are wiped however the cipher's construction ends.
template <typename Cipher> std::unique_ptr<Cipher> MakeCipher(std::string_view passPhrase)
{
    const platform::LockedScratch key(kKeySize);
    DeriveKey(passPhrase, std::span<std::uint8_t, kKeySize>(key.Data(), kKeySize));
    return std::make_unique<Cipher>(key.Data(), key.Size(), kRounds);
}

template <typename Cipher> void TransformBuffer(std::string_view passPhrase, std::span<std::uint8_t> buffer)
{
    if (buffer.size() % kBlockSize != 0) {
        throw std::invalid_argument("buffer length must be a multiple of 8 bytes");
    }
    // The blocks do not depend on each other, so the cipher takes as many at once as it can.
    MakeCipher<Cipher>(passPhrase)->TransformBlocks(buffer.data(), buffer.size() / kBlockSize);
}

}  // namespace

std::array<std::uint8_t, 16> DeriveKey(std::string_view passPhrase)
{
    std::array<std::uint8_t, 16> key {};
    DeriveKey(passPhrase, key);
    return key;
}

void DeriveKey(std::string_view passPhrase, std::span<std::uint8_t, 16> key)
{
    std::vector<std::uint8_t> work(passPhrase.begin(), passPhrase.end());
    CCrc32 crc;
    for (std::size_t part = 0; part < 4; ++part) {
        crc.Update(work.data(), work.size());
        crc.Final(key.data() + 4 * part);
        if (!work.empty()) {
            std::rotate(work.begin(), work.begin() + 1, work.end());
        }
    }
    platform::SecureZero(work.data(), work.size());
}

std::unique_ptr<CRc5Encryptor> MakeEncryptor(std::string_view passPhrase)
{
    return MakeCipher<CRc5Encryptor>(passPhrase);
}

std::unique_ptr<CRc5Decryptor> MakeDecryptor(std::string_view passPhrase)
{
    return MakeCipher<CRc5Decryptor>(passPhrase);
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
