#include "platform/posix/TemporaryName.h"

#include <algorithm>
#include <cstdint>

namespace sekreta::platform {

namespace {

constexpr std::size_t kUniqueLength = 6;
constexpr std::size_t kDigestLength = 16;
// The dot in front, the dots around the digest, the digest and the unique characters.
constexpr std::size_t kAddedLength = 3 + kDigestLength + kUniqueLength;

// 64-bit FNV-1a, as sixteen hexadecimal digits.
std::string Digest(std::string_view text)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    std::string digits(kDigestLength, '0');
    for (std::size_t i = kDigestLength; i-- > 0; hash >>= 4)
        digits[i] = "0123456789abcdef"[hash & 0xf];
    return digits;
}

// A byte of mkostemp's choice: it picks from letters and digits.
bool IsUniqueCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// How much of the target's name fits, cut back to the start of a UTF-8 character so that the
// name stays readable.
std::size_t KeptLength(std::string_view targetName, std::size_t longestName)
{
    std::size_t kept = longestName > kAddedLength ? std::min(targetName.size(), longestName - kAddedLength) : 0;
    while (kept > 0 && kept < targetName.size() && (static_cast<unsigned char>(targetName[kept]) & 0xc0) == 0x80)
        --kept;
    return kept;
}

}  // namespace

TemporaryName::TemporaryName(std::string_view targetName, std::size_t longestName)
    : m_prefix(1, '.')
{
    m_prefix.append(targetName.substr(0, KeptLength(targetName, longestName)));
    m_prefix.push_back('.');
    m_prefix.append(Digest(targetName));
    m_prefix.push_back('.');
}

std::string TemporaryName::Pattern() const
{
    return m_prefix + std::string(kUniqueLength, 'X');
}

bool TemporaryName::Matches(std::string_view name) const
{
    if (name.size() != m_prefix.size() + kUniqueLength || !name.starts_with(m_prefix))
        return false;
    for (const char c : name.substr(m_prefix.size())) {
        if (!IsUniqueCharacter(c))
            return false;
    }
    return true;
}

}  // namespace sekreta::platform
