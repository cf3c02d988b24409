#pragma once

#include "framework/CListView.h"
#include "storage/AccountRecord.h"

#include <vector>

namespace sekreta {

class CSekretaDoc;

// The list of the document's entries: one row per record, in store order, with the account,
// the user and the URL. It keeps nothing of its own; the document calls the row operations
// after each change, so that row i always shows record i.
class CSekretaView : public CListView {
public:
    static const CRuntimeClass classCSekretaView;
    const CRuntimeClass* GetRuntimeClass() const override;

    CSekretaDoc* GetDocument() const;

    // Report mode, fresh columns at widths from the view's width now, then the list refilled.
    void OnInitialUpdate() override;
    // Removes every row, then adds one per record in order; the last one ends up selected.
    void FillList(const std::vector<AccountRecord>& records);
    // Appends a row and selects it.
    void AddEntry(const AccountRecord& record);
    // Rewrites the row's three cells and selects it.
    void SetEntry(int index, const AccountRecord& record);
    // Deletes the row; no other row is selected in its place.
    void RemoveEntry(int index);
    // The selected row, or -1.
    int GetSelectedIndex() const;

    void OnDblclk() override;
    void OnContextMenu(platform::Point screenPoint) override;
};

}  // namespace sekreta
