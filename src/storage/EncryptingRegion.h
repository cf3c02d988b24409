#pragma once

#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "storage/CRc5Encryptor.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace sekreta {

// The encrypted region of a record file, written as the stream of its plain bytes: they are
// gathered into blocks, encrypted and passed on to the file's archive piece by piece, so a
// save never holds the whole region in memory.
class EncryptingRegion final : public CFile {
public:
    // `length` is the region's length, known before it is written: the header in front of the
    // region counts it. `target` stands where the region begins. Throws std::invalid_argument
    // when length is not a multiple of 8.
    EncryptingRegion(CArchive& target, std::uint64_t length, std::string_view passPhrase);
    // Wipes the buffer, which holds plain bytes when a write failed.
    ~EncryptingRegion() override;

    // Throws std::logic_error for bytes beyond the region's length; otherwise what the target
    // throws.
    void Write(const void* data, std::size_t count) override;
    std::uint64_t GetLength() override;
    std::uint64_t GetPosition() const override;
    void Flush() override;
    // Pads the region with zeros to its length and passes the last blocks on. Throws
    // std::logic_error when the bytes written fall short of the length by a block or more,
    // which would leave the header counting bytes that are not the image.
    void Close() override;
    void Abort() override;

private:
    void PassOn();

    CArchive& m_target;
    std::uint64_t m_length;
    std::uint64_t m_position = 0;
    std::unique_ptr<CRc5Encryptor> m_cipher;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_filled = 0;
};

}  // namespace sekreta
