#pragma once

namespace sekreta::platform {

// Random values from 0 to 32767, the range the password generator's scaling is built on.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Next() = 0;
};

}  // namespace sekreta::platform
