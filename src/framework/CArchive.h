#pragma once

#include "framework/CFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta {

// A buffered stream of little-endian values over a CFile, either loading or storing.
// Short data throws CArchiveException(endOfFile); file failures throw CFileException.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    CArchive(CFile& file, Mode mode, std::size_t bufferSize = 4096);
    // An archive that was not closed drops what it had not yet written. Its buffer is wiped: it
    // held plain bytes of the file.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    CFile& GetFile() const { return m_file; }

    // Reads exactly count bytes.
    void Read(void* buffer, std::size_t count);
    void Write(const void* data, std::size_t count);
    // Bytes left between the read position and the end of the file: the most any length
    // found in the data can honestly claim.
    std::uint64_t BytesRemaining();

    std::int32_t ReadInt32();
    void WriteInt32(std::int32_t value);
    // A text behind its length prefix: 1 byte up to 254, 0xFF and 2 bytes up to 65533, then
    // 0xFF FF FF and 4 bytes. Reading also takes the wide form (0xFF FE FF, then a prefix
    // counting UTF-16 units) and returns it as UTF-8.
    std::string ReadString();
    // Throws CArchiveException(genericException) for a text over 4 GB, which no prefix can count.
    void WriteString(std::string_view text);
    // The number of bytes WriteString writes for text: its prefix and its bytes.
    static std::uint64_t StoredSize(std::string_view text);

    // Passes every buffered byte to the file.
    void Flush();
    // Flushes; the file stays open.
    void Close();

private:
    void RequireLoading() const;
    void RequireStoring() const;
    void FillBuffer();
    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    // A length prefix; sets wide when it was preceded by the wide marker.
    std::uint64_t ReadLength(bool& wide);
    [[noreturn]] void ThrowEndOfFile() const;

    CFile& m_file;
    Mode m_mode;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_current = 0;  // next byte to read from the buffer
    std::size_t m_end = 0;  // bytes in the buffer (read: filled; store: written)
};

}  // namespace sekreta
