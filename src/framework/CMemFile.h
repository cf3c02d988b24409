#pragma once

#include "framework/CFile.h"

#include <vector>

namespace sekreta {

// A byte stream in memory: empty and growing for writing, or over given bytes for reading.
class CMemFile : public CFile {
public:
    CMemFile() = default;
    explicit CMemFile(std::vector<std::uint8_t> data);

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* data, std::size_t count) override;
    std::uint64_t GetLength() override;
    std::uint64_t GetPosition() const override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    const std::vector<std::uint8_t>& Data() const { return m_data; }
    // Hands over the bytes; the file is empty afterwards.
    std::vector<std::uint8_t> Detach();

private:
    std::vector<std::uint8_t> m_data;
    std::size_t m_position = 0;
};

}  // namespace sekreta
