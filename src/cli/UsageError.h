#pragma once

#include <stdexcept>
#include <string>

namespace sekreta::cli {

// The user asked for something that cannot be done as asked; what() is the whole message.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

}  // namespace sekreta::cli
