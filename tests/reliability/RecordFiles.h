#pragma once

#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "storage/RecordFile.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace sekreta::test {

// The bytes of a .sek file holding the records under the pass phrase, as the storage code writes it.
inline std::vector<std::uint8_t> StoredBytes(const std::vector<AccountRecord>& records, std::string_view passPhrase)
{
    CMemFile memory;
    CArchive archive(memory, CArchive::store);
    StoreRecords(archive, records, passPhrase);
    archive.Close();
    return memory.Detach();
}

// The records in the bytes of a .sek file, or nothing when they do not load under the pass phrase.
inline std::optional<std::vector<AccountRecord>> LoadedRecords(
    const std::vector<std::uint8_t>& bytes, std::string_view passPhrase)
{
    try {
        CMemFile memory(bytes);
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> records;
        LoadRecords(archive, records, passPhrase);
        return records;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace sekreta::test
