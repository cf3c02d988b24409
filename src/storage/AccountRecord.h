#pragma once

#include <string>

namespace sekreta {

// One account entry: five texts of bytes, in the order the file keeps them. A record wipes its
// texts when it is destroyed, so that none stays behind in a vector's storage, a temporary or a
// copy that was moved from.
struct AccountRecord {
    AccountRecord() = default;
    AccountRecord(std::string accountName, std::string address, std::string userName, std::string secret,
        std::string remarks);
    AccountRecord(const AccountRecord&) = default;
    AccountRecord(AccountRecord&&) noexcept = default;
    AccountRecord& operator=(const AccountRecord&) = default;
    AccountRecord& operator=(AccountRecord&&) noexcept = default;
    ~AccountRecord();

    std::string account;
    std::string url;
    std::string user;
    std::string password;
    std::string notes;

    bool operator==(const AccountRecord&) const = default;
};

}  // namespace sekreta
