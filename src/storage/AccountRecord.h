#pragma once

#include <string>

namespace sekreta {

// One account entry: five texts of bytes, in the order the file keeps them.
struct AccountRecord {
    std::string account;
    std::string url;
    std::string user;
    std::string password;
    std::string notes;

    bool operator==(const AccountRecord&) const = default;
};

}  // namespace sekreta
