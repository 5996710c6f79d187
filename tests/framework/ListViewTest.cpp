#include "framework/ListView.h"

#include "tests/support/WindowTesting.h"

#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

class ListViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        list = CListCtrl(host.AddControl(WC_LISTVIEWA, "", LVS_REPORT, RECT{0, 0, 400, 300}, 200));
        ASSERT_TRUE(list.IsWindow());
        list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES);
        list.InsertColumn(0, "First", LVCFMT_LEFT, 80);
        list.InsertColumn(1, "Second", LVCFMT_LEFT, 80);
    }

    HostWindow host;
    CListCtrl list;
};

}  // namespace

TEST_F(ListViewTest, RowsKeepTheirTextsDataAndTicks)
{
    EXPECT_EQ(ColumnCount(list.GetSafeHwnd()), 2);
    EXPECT_EQ(ColumnHeader(list.GetSafeHwnd(), 1), "Second");

    EXPECT_EQ(list.InsertItem(0, "b", 2), 0);
    EXPECT_EQ(list.InsertItem(0, "a", 1), 0);
    EXPECT_EQ(list.InsertItem(99, "c", 3), 2) << "past the end appends";
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_TRUE(list.SetItemText(1, 1, "second of b"));
    EXPECT_EQ(list.GetItemText(0, 0), "a");
    EXPECT_EQ(list.GetItemText(1, 1), "second of b");
    EXPECT_EQ(list.GetItemData(2), 3);
    EXPECT_TRUE(list.SetItemData(2, 30));
    EXPECT_EQ(list.GetItemData(2), 30);

    EXPECT_FALSE(list.GetCheck(1));
    EXPECT_TRUE(list.SetCheck(1, true));
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_TRUE(list.SetCheck(1, false));
    EXPECT_FALSE(list.GetCheck(1));
}

TEST_F(ListViewTest, LongAndOddTextsComeBackWhole)
{
    const std::string longText(5000, 'x');
    const std::string odd = "quote \" backslash \\ tab \t percent %s end";
    list.InsertItem(0, longText);
    list.SetItemText(0, 1, odd);
    EXPECT_EQ(list.GetItemText(0, 0), longText);
    EXPECT_EQ(list.GetItemText(0, 1), odd);
    list.InsertItem(1, "");
    EXPECT_EQ(list.GetItemText(1, 0), "");
}

TEST_F(ListViewTest, RowMinusOneAndRowsPastTheEndAreRefusedRatherThanMeaningEveryRow)
{
    list.InsertItem(0, "a");
    list.InsertItem(1, "b");
    EXPECT_FALSE(list.SetCheck(-1, true));
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_FALSE(list.GetCheck(1));
    EXPECT_FALSE(list.SetItemText(2, 0, "nowhere"));
    EXPECT_FALSE(list.SetItemData(-1, 5));
    EXPECT_EQ(list.GetItemData(7), 0);
    EXPECT_EQ(list.GetItemText(-1, 0), "");
    EXPECT_EQ(list.InsertItem(-1, "negative"), -1);
}

TEST_F(ListViewTest, NextSelectedRowIsFoundFromTheTop)
{
    for (int row = 0; row < 4; ++row) {
        list.InsertItem(row, std::to_string(row));
    }
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(list.GetNextItem(2, LVNI_SELECTED), 3);
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListViewTest, WrapperOfADestroyedControlDoesNothing)
{
    list.InsertItem(0, "a");
    DestroyWindow(list.GetSafeHwnd());
    EXPECT_FALSE(list.IsWindow());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.InsertItem(0, "b"), -1);
    EXPECT_FALSE(list.SetCheck(0, true));
    EXPECT_EQ(list.GetItemText(0, 0), "");
    EXPECT_FALSE(list.DeleteAllItems());
}
