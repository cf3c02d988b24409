#include "storage/EncryptingRegion.h"

#include "platform/SecureZero.h"
#include "storage/BufferCipher.h"

#include <algorithm>
#include <stdexcept>

namespace sekreta {

namespace {

constexpr std::size_t kBlockSize = 8;
// Large enough for the vector kernels and few writes, small enough to stay in the cache.
constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

EncryptingRegion::EncryptingRegion(CArchive& target, std::uint64_t length, std::string_view passPhrase)
    : m_target(target)
    , m_length(length)
    , m_cipher(MakeEncryptor(passPhrase))
    , m_buffer(static_cast<std::size_t>(std::min<std::uint64_t>(length, kBufferSize)))
{
    if (length % kBlockSize != 0)
        throw std::invalid_argument("a region is whole blocks of 8 bytes");
}

EncryptingRegion::~EncryptingRegion()
{
    platform::SecureZero(m_buffer.data(), m_buffer.size());
}

void EncryptingRegion::Write(const void* data, std::size_t count)
{
    if (count > m_length - m_position)
        throw std::logic_error("more bytes than the region's length");
    const auto* in = static_cast<const std::uint8_t*>(data);
    while (count > 0) {
        const std::size_t take = std::min(count, m_buffer.size() - m_filled);
        std::copy_n(in, take, m_buffer.begin() + static_cast<std::ptrdiff_t>(m_filled));
        m_filled += take;
        m_position += take;
        in += take;
        count -= take;
        if (m_filled == m_buffer.size())
            PassOn();
    }
}

void EncryptingRegion::PassOn()
{
    m_cipher->TransformBlocks(m_buffer.data(), m_filled / kBlockSize);
    m_target.Write(m_buffer.data(), m_filled);
    m_filled = 0;
}

std::uint64_t EncryptingRegion::GetLength()
{
    return m_position;
}

std::uint64_t EncryptingRegion::GetPosition() const
{
    return m_position;
}

void EncryptingRegion::Flush() { }

void EncryptingRegion::Close()
{
    const std::uint64_t padding = m_length - m_position;
    if (padding >= kBlockSize)
        throw std::logic_error("the region's image is shorter than its length");
    std::fill_n(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_filled), padding, 0);
    m_filled += static_cast<std::size_t>(padding);
    m_position = m_length;
    PassOn();
}

void EncryptingRegion::Abort() { }

}  // namespace sekreta
