#include "framework/CArchive.h"

#include "framework/CArchiveException.h"
#include "platform/SecureZero.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstring>

namespace sekreta {

namespace {

constexpr std::uint8_t kByteEscape = 0xFF;
constexpr std::uint16_t kWordEscape = 0xFFFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint32_t kLongestLength = 0xFFFFFFFF;

// A text of at most 254 bytes. GCC copies a string whose length it can bound that low with
// rep movsq, whose start-up costs more than the whole of the library's copy at these lengths
// (a tenth of a load of many records); hiding the bound keeps the library's copy.
std::string ShortText(const std::uint8_t* bytes, std::size_t length)
{
    asm("" : "+r"(length));
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

}  // namespace

CArchive::CArchive(CFile& file, Mode mode, std::size_t bufferSize)
    : m_file(file)
    , m_mode(mode)
    , m_buffer(std::max<std::size_t>(bufferSize, 16))
{
}

CArchive::~CArchive()
{
    platform::SecureZero(m_buffer.data(), m_buffer.size());
}

void CArchive::RequireLoading() const
{
    if (!IsLoading())
        throw CArchiveException(CArchiveException::writeOnly, m_file.GetFilePath());
}

void CArchive::RequireStoring() const
{
    if (!IsStoring())
        throw CArchiveException(CArchiveException::readOnly, m_file.GetFilePath());
}

void CArchive::ThrowEndOfFile() const
{
    throw CArchiveException(CArchiveException::endOfFile, m_file.GetFilePath());
}

void CArchive::FillBuffer()
{
    m_current = 0;
    m_end = m_file.Read(m_buffer.data(), m_buffer.size());
}

void CArchive::Read(void* buffer, std::size_t count)
{
    RequireLoading();
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        if (m_current == m_end) {
            // Large reads skip the buffer.
            if (count >= m_buffer.size()) {
                const std::size_t got = m_file.Read(out, count);
                if (got == 0)
                    ThrowEndOfFile();
                out += got;
                count -= got;
                continue;
            }
            FillBuffer();
            if (m_end == 0)
                ThrowEndOfFile();
        }
        const std::size_t take = std::min(count, m_end - m_current);
        std::memcpy(out, m_buffer.data() + m_current, take);
        m_current += take;
        out += take;
        count -= take;
    }
}

void CArchive::Write(const void* data, std::size_t count)
{
    RequireStoring();
    if (count == 0)
        return;
    const auto* in = static_cast<const std::uint8_t*>(data);
    if (count >= m_buffer.size()) {
        Flush();
        m_file.Write(in, count);
        return;
    }
    if (m_buffer.size() - m_end < count)
        Flush();
    std::memcpy(m_buffer.data() + m_end, in, count);
    m_end += count;
}

std::uint64_t CArchive::BytesRemaining()
{
    RequireLoading();
    const std::uint64_t length = m_file.GetLength();
    const std::uint64_t position = m_file.GetPosition();
    return (length > position ? length - position : 0) + (m_end - m_current);
}

std::uint8_t CArchive::ReadByte()
{
    std::uint8_t value = 0;
    Read(&value, 1);
    return value;
}

std::uint16_t CArchive::ReadUInt16()
{
    std::uint8_t bytes[2];
    Read(bytes, sizeof bytes);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t CArchive::ReadUInt32()
{
    std::uint8_t bytes[4];
    Read(bytes, sizeof bytes);
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8)
        | (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::int32_t CArchive::ReadInt32()
{
    return static_cast<std::int32_t>(ReadUInt32());
}

void CArchive::WriteInt32(std::int32_t value)
{
    const auto word = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
        static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
    Write(bytes, sizeof bytes);
}

std::uint64_t CArchive::ReadLength(bool& wide)
{
    wide = false;
    for (;;) {
        const std::uint8_t byteLength = ReadByte();
        if (byteLength < kByteEscape)
            return byteLength;
        const std::uint16_t wordLength = ReadUInt16();
        if (wordLength == kWideMarker) {
            wide = true;
            continue;
        }
        if (wordLength < kWordEscape)
            return wordLength;
        return ReadUInt32();
    }
}

std::string CArchive::ReadString()
{
    // Nearly every text of a record file is short and lies in the buffer with its prefix: it is
    // taken from there in one step.
    if (IsLoading() && m_current < m_end) {
        const std::size_t length = m_buffer[m_current];
        if (length < kByteEscape && length < m_end - m_current) {
            const std::uint8_t* text = m_buffer.data() + m_current + 1;
            m_current += 1 + length;
            return ShortText(text, length);
        }
    }

    bool wide = false;
    const std::uint64_t length = ReadLength(wide);
    const std::uint64_t bytes = wide ? length * 2 : length;
    if (!wide && length <= m_end - m_current) {
        const auto* text = reinterpret_cast<const char*>(m_buffer.data() + m_current);
        m_current += static_cast<std::size_t>(length);
        return std::string(text, static_cast<std::size_t>(length));
    }
    // A length that the data cannot hold ends here, before anything of that size is allocated.
    if (bytes > BytesRemaining())
        ThrowEndOfFile();
    if (!wide) {
        std::string text(static_cast<std::size_t>(length), '\0');
        Read(text.data(), text.size());
        return text;
    }
    std::vector<std::uint8_t> units(static_cast<std::size_t>(bytes));
    Read(units.data(), units.size());
    std::string text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); i += 2) {
        char32_t unit = static_cast<char32_t>(units[i] | (units[i + 1] << 8));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < units.size()) {
            const auto low = static_cast<char32_t>(units[i + 2] | (units[i + 3] << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        platform::AppendUtf8(text, unit);
    }
    platform::SecureZero(units.data(), units.size());
    return text;
}

std::uint64_t CArchive::StoredSize(std::string_view text)
{
    const std::uint64_t length = text.size();
    if (length < kByteEscape)
        return 1 + length;
    if (length < kWideMarker)
        return 3 + length;
    return 7 + length;
}

void CArchive::WriteString(std::string_view text)
{
    const std::uint64_t length = text.size();
    // A short text that fits goes into the buffer in one step.
    if (IsStoring() && length < kByteEscape && m_buffer.size() - m_end > length) {
        m_buffer[m_end] = static_cast<std::uint8_t>(length);
        if (!text.empty())
            std::memcpy(m_buffer.data() + m_end + 1, text.data(), text.size());
        m_end += 1 + text.size();
        return;
    }
    if (length > kLongestLength)
        throw CArchiveException(CArchiveException::genericException, m_file.GetFilePath());
    std::uint8_t prefix[7];
    std::size_t prefixSize = 0;
    if (length < kByteEscape) {
        prefix[prefixSize++] = static_cast<std::uint8_t>(length);
    } else {
        prefix[prefixSize++] = kByteEscape;
        if (length < kWideMarker) {
            prefix[prefixSize++] = static_cast<std::uint8_t>(length);
            prefix[prefixSize++] = static_cast<std::uint8_t>(length >> 8);
        } else {
            prefix[prefixSize++] = 0xFF;
            prefix[prefixSize++] = 0xFF;
            for (int shift = 0; shift < 32; shift += 8)
                prefix[prefixSize++] = static_cast<std::uint8_t>(length >> shift);
        }
    }
    Write(prefix, prefixSize);
    Write(text.data(), text.size());
}

void CArchive::Flush()
{
    if (IsStoring() && m_end > 0) {
        m_file.Write(m_buffer.data(), m_end);
        m_end = 0;
    }
}

void CArchive::Close()
{
    Flush();
}

}  // namespace sekreta
