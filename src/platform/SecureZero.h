#pragma once

#include <cstddef>

namespace sekreta::platform {

// Overwrites size bytes at data with zeros. Unlike memset, the stores survive
// optimisation even when the memory is never read again, which is exactly the
// situation for key material about to be released.
void SecureZero(void* data, std::size_t size);

}  // namespace sekreta::platform
