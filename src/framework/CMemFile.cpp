#include "framework/CMemFile.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace sekreta {

CMemFile::CMemFile(std::vector<std::uint8_t> data)
    : m_data(std::move(data))
{
}

std::size_t CMemFile::Read(void* buffer, std::size_t count)
{
    const std::size_t available = std::min(count, m_data.size() - m_position);
    if (available > 0)
        std::memcpy(buffer, m_data.data() + m_position, available);
    m_position += available;
    return available;
}

void CMemFile::Write(const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    m_data.insert(m_data.end(), bytes, bytes + count);
    m_position = m_data.size();
}

std::uint64_t CMemFile::GetLength()
{
    return m_data.size();
}

std::uint64_t CMemFile::GetPosition() const
{
    return m_position;
}

void CMemFile::Flush() { }

void CMemFile::Close() { }

void CMemFile::Abort() { }

std::vector<std::uint8_t> CMemFile::Detach()
{
    m_position = 0;
    return std::exchange(m_data, {});
}

}  // namespace sekreta
