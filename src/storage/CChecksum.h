#pragma once

#include <cstddef>
#include <cstdint>

namespace sekreta {

// A running checksum: feed bytes with Update, collect with Final.
class CChecksum {
public:
    CChecksum() = default;
    CChecksum(const CChecksum&) = delete;
    CChecksum& operator=(const CChecksum&) = delete;
    virtual ~CChecksum() = default;

    virtual void Update(const std::uint8_t* bytes, std::size_t length) = 0;

    // Writes DigestSize() bytes to digest and restarts the checksum.
    virtual void Final(std::uint8_t* digest) = 0;

    virtual std::size_t DigestSize() const = 0;

    // Update followed by Final.
    virtual void Digest(std::uint8_t* digest, const std::uint8_t* bytes, std::size_t length);

    // Finishes the running checksum (which restarts it) and tells whether it
    // equals the DigestSize() bytes at digest.
    virtual bool Matches(const std::uint8_t* digest);

    // Update followed by Matches.
    virtual bool MatchesData(const std::uint8_t* digest, const std::uint8_t* bytes, std::size_t length);
};

}  // namespace sekreta
