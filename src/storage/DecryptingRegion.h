#pragma once

#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "storage/CRc5Decryptor.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace sekreta {

// The encrypted region of a record file, read as the stream of its decrypted bytes. The
// region is taken from the file's archive only as it is asked for and decrypted where it
// lands, so a load never holds the whole region in memory, and the bytes are still in the
// cache when they are parsed.
class DecryptingRegion final : public CFile {
public:
    // `length` is the region's length; `source` stands at its first byte. Throws
    // std::invalid_argument when length is not a multiple of 8.
    DecryptingRegion(CArchive& source, std::uint64_t length, std::string_view passPhrase);
    // Wipes the decrypted block it keeps.
    ~DecryptingRegion() override;

    // Throws what the source throws; CArchiveException(endOfFile) when it ends early.
    std::size_t Read(void* buffer, std::size_t count) override;
    std::uint64_t GetLength() override;
    std::uint64_t GetPosition() const override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    // Keeps the encrypted bytes read from here on (the region's start), so that Rewind can
    // read them again under another pass phrase.
    void KeepForRewind();
    // Starts again at the region's first byte, under passPhrase, and keeps nothing more.
    // Throws std::logic_error without KeepForRewind at the start.
    void Rewind(std::string_view passPhrase);

private:
    // Encrypted bytes: first those kept for a rewind, then the source's.
    void Fetch(std::uint8_t* out, std::size_t count);

    static constexpr std::size_t kBlockSize = 8;

    CArchive& m_source;
    std::uint64_t m_length;
    std::uint64_t m_position = 0;
    std::unique_ptr<CRc5Decryptor> m_cipher;
    // The decrypted block that a read of a length other than whole blocks cut.
    std::array<std::uint8_t, kBlockSize> m_partial {};
    std::size_t m_partialTaken = kBlockSize;
    bool m_keeping = false;
    std::vector<std::uint8_t> m_kept;
    // How much of m_kept has been handed out since it was kept or rewound to.
    std::size_t m_replayed = 0;
};

}  // namespace sekreta
