#include "storage/AccountRecord.h"

#include "platform/SecureZero.h"

namespace sekreta {

AccountRecord::AccountRecord(
    std::string accountName, std::string address, std::string userName, std::string secret, std::string remarks)
    : account(std::move(accountName))
    , url(std::move(address))
    , user(std::move(userName))
    , password(std::move(secret))
    , notes(std::move(remarks))
{
}

AccountRecord::~AccountRecord()
{
    for (std::string* field : {&account, &url, &user, &password, &notes})
        platform::SecureClear(*field);
}

}  // namespace sekreta
