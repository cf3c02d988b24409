#pragma once

// How the reader's fuzz target reads its input, shared with the tool that writes its seeds: the
// first byte chooses, the rest is the data. An even first byte: the data is a whole .sek file.
// An odd one: the data is a decrypted region, wrapped in a valid header and encrypted under
// kReaderPassPhrase, so that mutations reach the record parser and not only the header checks.
#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "storage/BufferCipher.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace sekreta::fuzz {

inline constexpr std::string_view kReaderPassPhrase = "fuzz";
inline constexpr std::uint8_t kWholeFile = 0;
inline constexpr std::uint8_t kRegionOnly = 1;

// The region padded with zeros to whole blocks, encrypted, behind the header "Sekreta", 1 and
// its length.
inline std::vector<std::uint8_t> WrapRegion(std::vector<std::uint8_t> region)
{
    region.resize((region.size() + 7) / 8 * 8, 0);
    EncryptBuffer(kReaderPassPhrase, region);
    CMemFile file;
    CArchive archive(file, CArchive::store);
    archive.WriteString("Sekreta");
    archive.WriteInt32(1);
    archive.WriteInt32(static_cast<std::int32_t>(region.size()));
    archive.Write(region.data(), region.size());
    archive.Close();
    return file.Detach();
}

}  // namespace sekreta::fuzz
