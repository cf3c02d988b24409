#pragma once

#include <cstddef>
#include <string>

namespace sekreta::platform {

// Overwrites size bytes at data with zeros. Unlike memset, the stores survive
// optimisation even when the memory is never read again, which is exactly the
// situation for key material about to be released.
void SecureZero(void* data, std::size_t size);

// Empties text and overwrites every byte its buffers held: the spare capacity beyond its length
// too, where a cleared or shortened text keeps its old bytes, and the string's own inline buffer,
// where a text that grew out of it left its first bytes.
void SecureClear(std::string& text);

}  // namespace sekreta::platform
