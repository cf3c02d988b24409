// The list that fills the main window, as the program fills it and as a person clicks in it.
#include "platform/qt/QtFrameWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "qt/FrameEventsRecorder.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace sekreta::test {
namespace {

// The style the program's view gives the list: report mode, one row at a time, the selection
// shown without the focus, headings that do not sort.
constexpr unsigned kViewStyle = 0x800D;

class ListControlTest : public testing::Test {
protected:
    ListControlTest()
        : m_frame(m_windows, platform::FrameTemplate {}, m_events)
        , m_list(m_frame.QtList())
        , m_view(m_list.View())
    {
        m_frame.SetPlacement({1, {20, 20, 820, 620}});
        m_list.SetStyle(kViewStyle);
        const int width = m_list.ClientWidth();
        m_list.InsertColumn(0, "Account", width / 2);
        m_list.InsertColumn(1, "User", width / 4);
        m_list.InsertColumn(2, "URL", width / 4);
    }

    // Rows as the program's view adds them: the item, its cells, and the selection on it.
    void Add(const std::string& account, const std::string& user = "", const std::string& url = "")
    {
        const int row = m_list.InsertItem(m_list.GetItemCount(), account);
        m_list.SetItemText(row, 0, account);
        m_list.SetItemText(row, 1, user);
        m_list.SetItemText(row, 2, url);
        m_list.SelectItem(row);
    }
    void ShowActive()
    {
        m_frame.Show(platform::ShowCommand::Normal);
        m_frame.Activate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_frame.Widget()));
    }
    QString Shown(int row, int column) const { return m_view.model()->index(row, column).data().toString(); }
    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (const QModelIndex& index : m_view.selectionModel()->selectedIndexes())
            rows.push_back(index.row());
        return rows;
    }
    QPoint CellCentre(int row, int column) const
    {
        return m_view.visualRect(m_view.model()->index(row, column)).center();
    }

    platform::qt::QtWindowSystem m_windows;
    FrameEventsRecorder m_events;
    platform::qt::QtFrameWindow m_frame;
    platform::qt::QtListControl& m_list;
    QTreeView& m_view;
};

TEST_F(ListControlTest, ThreeHeadedColumnsAtTheWidthsGivenFromTheWidthTheWindowWillShow)
{
    const int width = m_list.ClientWidth();
    ShowActive();
    EXPECT_EQ(m_list.ClientWidth(), width) << "known before the window first shows";
    EXPECT_EQ(m_view.viewport()->width(), width);
    const QHeaderView& header = *m_view.header();
    ASSERT_EQ(header.count(), 3);
    EXPECT_EQ(m_view.model()->headerData(0, Qt::Horizontal).toString(), "Account");
    EXPECT_EQ(m_view.model()->headerData(1, Qt::Horizontal).toString(), "User");
    EXPECT_EQ(m_view.model()->headerData(2, Qt::Horizontal).toString(), "URL");
    EXPECT_EQ(header.sectionSize(0), width / 2);
    EXPECT_EQ(header.sectionSize(1), width / 4);
    EXPECT_EQ(header.sectionSize(2), width / 4);

    m_list.DeleteColumn(2);
    m_list.DeleteColumn(2);
    m_list.DeleteColumn(1);
    m_list.DeleteColumn(0);
    EXPECT_EQ(header.count(), 0);
    EXPECT_EQ(m_list.GetStyle(), kViewStyle);
}

TEST_F(ListControlTest, AFillReachesTheViewInOneGoWithTheLastRowSelected)
{
    for (int row = 0; row < 1000; ++row)
        Add("Account " + std::to_string(row), "user", "https://example.com");
    EXPECT_EQ(m_list.GetItemCount(), 1000);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 999);
    EXPECT_EQ(m_view.model()->rowCount(), 0) << "held back until the fill is over";

    int insertions = 0;
    QObject::connect(m_view.model(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    QApplication::processEvents();
    EXPECT_EQ(insertions, 1);
    EXPECT_EQ(m_view.model()->rowCount(), 1000);
    EXPECT_EQ(SelectedRows(), std::vector<int> {999});
    EXPECT_EQ(Shown(500, 0), "Account 500");
    EXPECT_EQ(Shown(500, 2), "https://example.com");

    m_list.DeleteAllItems();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), -1);
    EXPECT_EQ(m_view.model()->rowCount(), 0);
}

TEST_F(ListControlTest, RowsChangeInPlaceAndADeletedRowTakesTheSelectionWithIt)
{
    Add("Bank", "me", "https://bank.example");
    Add("Shop");
    Add("Mail");
    QApplication::processEvents();
    m_list.SelectItem(1);
    m_list.SetItemText(0, 1, "you");
    EXPECT_EQ(Shown(0, 1), "you");
    EXPECT_EQ(SelectedRows(), std::vector<int> {1});

    m_list.InsertItem(0, "First");
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 2) << "the selection stays with its row";
    EXPECT_EQ(SelectedRows(), std::vector<int> {2});
    m_list.DeleteItem(0);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 1);
    m_list.DeleteItem(1);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), -1);
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_EQ(Shown(1, 0), "Mail");
    EXPECT_EQ(m_list.GetNextSelectedItem(5), -1);
    m_list.SelectItem(7);
    m_list.DeleteItem(-1);
    EXPECT_EQ(m_list.GetItemCount(), 2);
}

TEST_F(ListControlTest, BytesThatAreNotUtf8ShowAsWindows1252)
{
    Add("Caf\xE9", "\x80uro", "na\xC3\xAFve");
    QApplication::processEvents();
    EXPECT_EQ(Shown(0, 0), QStringLiteral("Caf\u00E9"));
    EXPECT_EQ(Shown(0, 1), QStringLiteral("\u20ACuro"));
    EXPECT_EQ(Shown(0, 2), QStringLiteral("na\u00EFve"));
}

TEST_F(ListControlTest, ClicksAndKeysSelectByTheFirstCellAndClicksInEmptySpaceClear)
{
    Add("Bank");
    Add("Shop");
    Add("Mail");
    ShowActive();
    QApplication::processEvents();

    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 0);
    // Only the first cell is highlighted: no full-row selection.
    EXPECT_EQ(m_view.selectionModel()->selectedIndexes().size(), 1);
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, QPoint(10, m_view.viewport()->height() - 5));
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), -1);
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, CellCentre(1, 0));
    QTest::mouseClick(m_view.viewport(), Qt::LeftButton, {}, CellCentre(2, 1));
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), -1) << "a row's other cells do not pick it";
    EXPECT_TRUE(SelectedRows().empty());
    QTest::keyClick(&m_view, Qt::Key_Up);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 1) << "the keys go from row to row by the first cells";
    QTest::keyClick(&m_view, Qt::Key_Right);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 1) << "Left and Right scroll sideways";

    // The selection stays in sight while another widget has the focus.
    m_list.SelectItem(2);
    EXPECT_EQ(m_view.palette().color(QPalette::Inactive, QPalette::Highlight),
        m_view.palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(ListControlTest, HeadingClicksDoNotSortAndDoubleClicksAndContextMenusGoToTheProgram)
{
    Add("Zebra");
    Add("Apple");
    ShowActive();
    QApplication::processEvents();

    QTest::mouseClick(m_view.header()->viewport(), Qt::LeftButton, {}, QPoint(10, m_view.header()->height() / 2));
    EXPECT_EQ(Shown(0, 0), "Zebra");
    EXPECT_FALSE(m_view.header()->sectionsClickable());
    EXPECT_FALSE(m_view.header()->isSortIndicatorShown());

    QTest::mouseDClick(m_view.viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
    EXPECT_EQ(m_events.doubleClicks, 1);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 0);

    const QPoint point = CellCentre(1, 0);
    QTest::mouseClick(m_view.viewport(), Qt::RightButton, {}, point);
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, m_view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(m_view.viewport(), &request);
    ASSERT_EQ(m_events.contextMenus.size(), 1u);
    const QPoint global = m_view.viewport()->mapToGlobal(point);
    EXPECT_EQ(m_events.contextMenus.front(), (platform::Point {global.x(), global.y()}));
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 1) << "the right click selected the row first";
}

}  // namespace
}  // namespace sekreta::test
