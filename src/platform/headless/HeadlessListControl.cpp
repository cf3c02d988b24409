#include "platform/headless/HeadlessListControl.h"

#include <algorithm>

namespace sekreta::platform {

void HeadlessListControl::InsertColumn(int column, std::string_view heading, int width)
{
    if (column < 0)
        return;
    const std::size_t index = std::min(static_cast<std::size_t>(column), m_columns.size());
    m_columns.insert(m_columns.begin() + static_cast<std::ptrdiff_t>(index), {std::string(heading), width});
    // The cells to the right move with their columns; rows that stop short of it grow on demand.
    for (std::vector<std::string>& cells : m_rows) {
        if (index < cells.size())
            cells.insert(cells.begin() + static_cast<std::ptrdiff_t>(index), std::string());
    }
}

void HeadlessListControl::DeleteColumn(int column)
{
    if (column < 0 || static_cast<std::size_t>(column) >= m_columns.size())
        return;
    const auto index = static_cast<std::size_t>(column);
    m_columns.erase(m_columns.begin() + column);
    // A row keeps at least its first cell, the item's own text.
    for (std::vector<std::string>& cells : m_rows) {
        if (index < cells.size())
            cells.erase(cells.begin() + column);
        if (cells.empty())
            cells.emplace_back();
    }
}

int HeadlessListControl::GetItemCount() const
{
    return static_cast<int>(m_rows.size());
}

int HeadlessListControl::InsertItem(int row, std::string_view text)
{
    if (row < 0)
        return -1;
    const int index = std::min(row, GetItemCount());
    std::vector<std::string> cells(std::max<std::size_t>(1, m_columns.size()));
    cells.front() = text;
    m_rows.insert(m_rows.begin() + index, std::move(cells));
    // The selection stays with its row.
    if (m_selected >= index)
        ++m_selected;
    return index;
}

void HeadlessListControl::SetItemText(int row, int column, std::string_view text)
{
    const auto columns = static_cast<int>(std::max<std::size_t>(1, m_columns.size()));
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= columns)
        return;
    std::vector<std::string>& cells = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size())
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text;
}

void HeadlessListControl::SelectItem(int row)
{
    if (row >= 0 && row < GetItemCount())
        m_selected = row;
}

int HeadlessListControl::GetNextSelectedItem(int start) const
{
    return m_selected > start ? m_selected : -1;
}

void HeadlessListControl::DeleteItem(int row)
{
    if (row < 0 || row >= GetItemCount())
        return;
    m_rows.erase(m_rows.begin() + row);
    if (m_selected == row)
        m_selected = -1;
    else if (m_selected > row)
        --m_selected;
}

void HeadlessListControl::DeleteAllItems()
{
    m_rows.clear();
    m_selected = -1;
}

void HeadlessListControl::ClickRow(int row)
{
    // In single-selection mode a click on empty space takes the selection away.
    if (row >= 0 && row < GetItemCount())
        m_selected = row;
    else
        m_selected = -1;
}

}  // namespace sekreta::platform
