#pragma once

#include "storage/AccountRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sekreta::bench {

// Records with the field lengths of a real collection: account 10-30 bytes, URL 20-60, user
// 5-20, password 8-20, notes 0-200 (with a line break now and then). The same seed gives the
// same records on every run.
std::vector<AccountRecord> GenerateRecords(std::size_t count, std::uint32_t seed = 1);

}  // namespace sekreta::bench
