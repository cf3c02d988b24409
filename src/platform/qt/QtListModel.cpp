#include "platform/qt/QtListModel.h"

#include "platform/qt/QtText.h"

#include <algorithm>

namespace sekreta::platform::qt {

namespace {

const std::string kEmpty;

}  // namespace

const std::string& QtListModel::Text(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0)
        return kEmpty;
    const std::vector<std::string>& cells = m_rows[static_cast<std::size_t>(row)];
    return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)] : kEmpty;
}

int QtListModel::InsertColumn(int column, std::string_view heading)
{
    Publish();
    const int index = std::clamp(column, 0, ColumnCount());
    beginInsertColumns({}, index, index);
    m_headings.insert(m_headings.begin() + index, ToQString(heading));
    // The cells to the right move with their columns.
    for (std::vector<std::string>& cells : m_rows) {
        if (static_cast<std::size_t>(index) < cells.size())
            cells.insert(cells.begin() + index, std::string());
    }
    endInsertColumns();
    return index;
}

void QtListModel::DeleteColumn(int column)
{
    if (column < 0 || column >= ColumnCount())
        return;
    Publish();
    beginRemoveColumns({}, column, column);
    m_headings.erase(m_headings.begin() + column);
    // A row keeps its first cell, the item's own text, even with no column to show it.
    for (std::vector<std::string>& cells : m_rows) {
        if (static_cast<std::size_t>(column) < cells.size() && cells.size() > 1)
            cells.erase(cells.begin() + column);
        else if (column == 0 && !cells.empty())
            cells.front().clear();
    }
    endRemoveColumns();
}

int QtListModel::InsertRow(int row, std::string_view text)
{
    const int index = std::min(row, RowCount());
    std::vector<std::string> cells(1, std::string(text));
    if (index == RowCount()) {
        m_rows.push_back(std::move(cells));
        return index;
    }
    Publish();
    beginInsertRows({}, index, index);
    m_rows.insert(m_rows.begin() + index, std::move(cells));
    ++m_published;
    endInsertRows();
    return index;
}

void QtListModel::SetText(int row, int column, std::string_view text)
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= std::max(1, ColumnCount()))
        return;
    std::vector<std::string>& cells = m_rows[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size())
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text;
    if (IsPublished(row) && column < ColumnCount()) {
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }
}

void QtListModel::DeleteRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    Publish();
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    --m_published;
    endRemoveRows();
}

void QtListModel::DeleteAllRows()
{
    beginResetModel();
    m_rows.clear();
    m_published = 0;
    endResetModel();
}

void QtListModel::Publish()
{
    if (!HasUnpublishedRows())
        return;
    beginInsertRows({}, static_cast<int>(m_published), RowCount() - 1);
    m_published = m_rows.size();
    endInsertRows();
}

int QtListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_published);
}

int QtListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant QtListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !IsPublished(index.row()))
        return {};
    return ToQString(Text(index.row(), index.column()));
}

QVariant QtListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_headings[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

Qt::ItemFlags QtListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // A row is picked by its first cell; the others only show its texts.
    return index.column() == 0 ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled;
}

}  // namespace sekreta::platform::qt
