#include "platform/headless/HeadlessListControl.h"

#include <gtest/gtest.h>

namespace sekreta::platform {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class HeadlessListControlTest : public testing::Test {
protected:
    HeadlessListControlTest()
    {
        m_list.InsertColumn(0, "Account", 200);
        m_list.InsertColumn(1, "User", 100);
    }

    HeadlessListControl m_list;
};

TEST_F(HeadlessListControlTest, InsertedRowsHaveACellPerColumnAndKeepTheSelection)
{
    EXPECT_EQ(m_list.InsertItem(0, "b"), 0);
    EXPECT_EQ(m_list.InsertItem(7, "d"), 1);
    EXPECT_EQ(m_list.InsertItem(-1, "x"), -1);
    m_list.SelectItem(1);
    EXPECT_EQ(m_list.InsertItem(0, "a"), 0);
    EXPECT_EQ(m_list.InsertItem(2, "c"), 2);

    EXPECT_EQ(m_list.Rows(), (Rows {{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}}));
    EXPECT_EQ(m_list.SelectedRow(), 3) << "the selection follows its row";
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 3);
    EXPECT_EQ(m_list.GetNextSelectedItem(3), -1);
}

TEST_F(HeadlessListControlTest, CellsOutsideTheListAreIgnoredAndShortRowsGrow)
{
    m_list.InsertItem(0, "a");
    m_list.SetItemText(0, 1, "alice");
    m_list.SetItemText(1, 0, "nobody");
    m_list.SetItemText(0, 2, "no column");
    m_list.SetItemText(-1, 0, "nobody");
    m_list.InsertColumn(9, "URL", 150);
    m_list.SetItemText(0, 2, "https://a.example");
    EXPECT_EQ(m_list.Rows(), (Rows {{"a", "alice", "https://a.example"}}));

    m_list.InsertColumn(0, "Notes", 80);
    m_list.DeleteColumn(2);
    m_list.DeleteColumn(5);
    EXPECT_EQ(
        m_list.Columns(), (std::vector<HeadlessListControl::Column> {{"Notes", 80}, {"Account", 200}, {"URL", 150}}));
    EXPECT_EQ(m_list.Rows(), (Rows {{"", "a", "https://a.example"}}));
}

TEST_F(HeadlessListControlTest, SelectionFollowsDeletionsAndClicks)
{
    for (const char* text : {"a", "b", "c", "d"})
        m_list.InsertItem(m_list.GetItemCount(), text);

    m_list.SelectItem(2);
    m_list.SelectItem(-1);
    m_list.SelectItem(4);
    EXPECT_EQ(m_list.SelectedRow(), 2) << "selecting nothing real changes nothing";
    m_list.DeleteItem(0);
    EXPECT_EQ(m_list.SelectedRow(), 1);
    m_list.DeleteItem(2);
    m_list.DeleteItem(9);
    EXPECT_EQ(m_list.SelectedRow(), 1);
    m_list.DeleteItem(1);
    EXPECT_EQ(m_list.SelectedRow(), -1);
    EXPECT_EQ(m_list.Rows(), (Rows {{"b", ""}}));

    m_list.ClickRow(0);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), 0);
    m_list.ClickRow(-1);
    EXPECT_EQ(m_list.GetNextSelectedItem(-1), -1) << "a click on empty space clears the selection";
    m_list.SelectItem(0);
    m_list.DeleteAllItems();
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(m_list.SelectedRow(), -1);
}

}  // namespace
}  // namespace sekreta::platform
