#include "storage/DecryptingRegion.h"

#include "platform/SecureZero.h"
#include "storage/BufferCipher.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace sekreta {

DecryptingRegion::DecryptingRegion(CArchive& source, std::uint64_t length, std::string_view passPhrase)
    : m_source(source)
    , m_length(length)
    , m_cipher(MakeDecryptor(passPhrase))
{
    if (length % kBlockSize != 0)
        throw std::invalid_argument("a region is whole blocks of 8 bytes");
}

DecryptingRegion::~DecryptingRegion()
{
    platform::SecureZero(m_partial.data(), m_partial.size());
}

std::size_t DecryptingRegion::Read(void* buffer, std::size_t count)
{
    auto* out = static_cast<std::uint8_t*>(buffer);
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_length - m_position));
    std::size_t done = std::min(count, kBlockSize - m_partialTaken);
    if (done > 0) {
        std::memcpy(out, m_partial.data() + m_partialTaken, done);
        m_partialTaken += done;
    }

    const std::size_t whole = (count - done) / kBlockSize * kBlockSize;
    Fetch(out + done, whole);
    m_cipher->TransformBlocks(out + done, whole / kBlockSize);
    done += whole;

    if (done < count) {
        Fetch(m_partial.data(), kBlockSize);
        m_cipher->TransformBlocks(m_partial.data(), 1);
        m_partialTaken = count - done;
        std::memcpy(out + done, m_partial.data(), m_partialTaken);
    }
    m_position += count;
    return count;
}

void DecryptingRegion::Fetch(std::uint8_t* out, std::size_t count)
{
    const std::size_t replay = std::min(count, m_kept.size() - m_replayed);
    if (replay > 0) {
        std::memcpy(out, m_kept.data() + m_replayed, replay);
        m_replayed += replay;
    }
    m_source.Read(out + replay, count - replay);
    if (m_keeping) {
        m_kept.insert(m_kept.end(), out + replay, out + count);
        m_replayed = m_kept.size();
    }
}

std::uint64_t DecryptingRegion::GetLength()
{
    return m_length;
}

std::uint64_t DecryptingRegion::GetPosition() const
{
    return m_position;
}

void DecryptingRegion::Flush() { }

void DecryptingRegion::Close() { }

void DecryptingRegion::Abort() { }

void DecryptingRegion::KeepForRewind()
{
    if (m_position != 0)
        throw std::logic_error("a region is kept for a rewind from its start only");
    m_keeping = true;
}

void DecryptingRegion::Rewind(std::string_view passPhrase)
{
    if (!m_keeping)
        throw std::logic_error("a region is rewound only after KeepForRewind");
    m_keeping = false;
    m_cipher = MakeDecryptor(passPhrase);
    m_position = 0;
    m_partialTaken = kBlockSize;
    m_replayed = 0;
}

}  // namespace sekreta
