#pragma once

#include "storage/AccountRecord.h"

#include <vector>

namespace sekreta {

// What the document asks of the view that lists its entries: row i always shows record i.
class AccountListView {
public:
    // Removes every row, then adds one per record in order.
    virtual void FillList(const std::vector<AccountRecord>& records) = 0;
    virtual void AddEntry(const AccountRecord& record) = 0;
    virtual void SetEntry(int index, const AccountRecord& record) = 0;
    virtual void RemoveEntry(int index) = 0;
    // The selected row, or -1.
    virtual int GetSelectedIndex() const = 0;

protected:
    ~AccountListView() = default;
};

}  // namespace sekreta
