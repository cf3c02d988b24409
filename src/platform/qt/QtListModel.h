#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace sekreta::platform::qt {

// The rows and columns of the list control, as the program's bytes. Rows appended at the end
// are held back from the view until Publish, so that filling a long list costs the view one
// insertion instead of one per row; their texts change without a word to the view. Inserting
// elsewhere, deleting, and the columns reach the view at once, after the rows held back.
class QtListModel final : public QAbstractTableModel {
public:
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int ColumnCount() const { return static_cast<int>(m_headings.size()); }
    bool HasUnpublishedRows() const { return m_published < m_rows.size(); }
    bool IsPublished(int row) const { return row >= 0 && static_cast<std::size_t>(row) < m_published; }
    const std::string& Text(int row, int column) const;

    // Clamped to the columns there are; returns the column's index.
    int InsertColumn(int column, std::string_view heading);
    void DeleteColumn(int column);
    // Clamped to the rows there are; returns the row's index.
    int InsertRow(int row, std::string_view text);
    void SetText(int row, int column, std::string_view text);
    void DeleteRow(int row);
    void DeleteAllRows();
    // Tells the view of the rows held back.
    void Publish();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<QString> m_headings;
    // Each row's cells; a row may stop short of the last columns, whose cells are then empty.
    std::vector<std::vector<std::string>> m_rows;
    std::size_t m_published = 0;
};

}  // namespace sekreta::platform::qt
