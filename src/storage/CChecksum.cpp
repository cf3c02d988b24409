#include "storage/CChecksum.h"

#include "platform/SecureZero.h"

#include <vector>

namespace sekreta {

void CChecksum::Digest(std::uint8_t* digest, const std::uint8_t* bytes, std::size_t length)
{
    Update(bytes, length);
    Final(digest);
}

bool CChecksum::Matches(const std::uint8_t* digest)
{
    const std::size_t size = DigestSize();
    std::vector<std::uint8_t> actual(size);
    Final(actual.data());

    // Every byte is compared, so the time taken does not reveal where the
    // first difference lies.
    std::uint8_t difference = 0;
    for (std::size_t i = 0; i < size; ++i) {
        difference |= static_cast<std::uint8_t>(actual[i] ^ digest[i]);
    }

    platform::SecureZero(actual.data(), actual.size());
    return difference == 0;
}

bool CChecksum::MatchesData(const std::uint8_t* digest, const std::uint8_t* bytes, std::size_t length)
{
    Update(bytes, length);
    return Matches(digest);
}

}  // namespace sekreta
