#pragma once

#include <string_view>

namespace sekreta::platform {

// The list control that fills the main window: rows of text cells under headed columns, at
// most one row selected. Rows are numbered from 0; the control keeps its own copy of each text.
class ListControl {
public:
    // Style bits of the list window (view type, single selection, ...), as the view sets them.
    virtual unsigned GetStyle() const = 0;
    virtual void SetStyle(unsigned style) = 0;
    virtual int ClientWidth() const = 0;

    // Columns are left-aligned. Deleting a column that is not there does nothing.
    virtual void InsertColumn(int column, std::string_view heading, int width) = 0;
    virtual void DeleteColumn(int column) = 0;

    virtual int GetItemCount() const = 0;
    // Inserts a row with the text of its first cell; returns the new row's index.
    virtual int InsertItem(int row, std::string_view text) = 0;
    virtual void SetItemText(int row, int column, std::string_view text) = 0;
    virtual void SelectItem(int row) = 0;
    // The first selected row after `start` (-1: from the top), or -1.
    virtual int GetNextSelectedItem(int start) const = 0;
    virtual void DeleteItem(int row) = 0;
    virtual void DeleteAllItems() = 0;

protected:
    ~ListControl() = default;
};

}  // namespace sekreta::platform
