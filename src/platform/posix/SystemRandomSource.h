#pragma once

#include "platform/RandomSource.h"

namespace sekreta::platform {

// The operating system's cryptographic random source, brought to 0..32767. Passwords drawn
// from it cannot be guessed from the time the program started.
class SystemRandomSource : public RandomSource {
public:
    // Throws std::system_error when the system cannot give random bytes.
    int Next() override;
};

}  // namespace sekreta::platform
