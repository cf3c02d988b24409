#pragma once

#include "platform/ListControl.h"

#include <string>
#include <vector>

namespace sekreta::platform {

// A list control kept in memory, with what a test needs to look at it and click in it.
class HeadlessListControl final : public ListControl {
public:
    struct Column {
        std::string heading;
        int width;
        bool operator==(const Column&) const = default;
    };

    unsigned GetStyle() const override { return m_style; }
    void SetStyle(unsigned style) override { m_style = style; }
    int ClientWidth() const override { return m_clientWidth; }
    void InsertColumn(int column, std::string_view heading, int width) override;
    void DeleteColumn(int column) override;
    int GetItemCount() const override;
    int InsertItem(int row, std::string_view text) override;
    void SetItemText(int row, int column, std::string_view text) override;
    void SelectItem(int row) override;
    int GetNextSelectedItem(int start) const override;
    void DeleteItem(int row) override;
    void DeleteAllItems() override;

    // As the user: a click on a row's first cell selects it; -1 clicks below the rows.
    void ClickRow(int row);
    void SetClientWidth(int width) { m_clientWidth = width; }

    const std::vector<Column>& Columns() const { return m_columns; }
    // Each row's cells, one per column.
    const std::vector<std::vector<std::string>>& Rows() const { return m_rows; }
    int SelectedRow() const { return m_selected; }

private:
    unsigned m_style = 0;
    int m_clientWidth = 800;
    std::vector<Column> m_columns;
    std::vector<std::vector<std::string>> m_rows;
    int m_selected = -1;
};

}  // namespace sekreta::platform
