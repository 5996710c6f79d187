#include "framework/TreeCtrl.h"

#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

namespace {

class TreeCtrlTest : public testing::Test {
protected:
    void SetUp() override
    {
        host.AddControl(WC_TREEVIEWA, "", TVS_HASLINES | TVS_HASBUTTONS | TVS_CHECKBOXES | TVS_LINESATROOT,
                        RECT{0, 0, 300, 300}, 300);
        ASSERT_TRUE(tree.SubclassDlgItem(300, host.GetSafeHwnd()));
    }

    HostWindow host;
    CTreeCtrl tree;
};

}  // namespace

TEST_F(TreeCtrlTest, ItemsAreWalkedInTheOrderTheyWereInserted)
{
    HTREEITEM root = tree.InsertItem("My Computer", 0, 0);
    HTREEITEM first = tree.InsertItem("System (C:)", 1, 1, root);
    HTREEITEM second = tree.InsertItem(" (D:)", 2, 2, root);
    ASSERT_TRUE(root && first && second);

    EXPECT_EQ(tree.GetRootItem(), root);
    EXPECT_EQ(tree.GetChildItem(root), first);
    EXPECT_EQ(tree.GetNextSiblingItem(first), second);
    EXPECT_EQ(tree.GetNextSiblingItem(second), nullptr);
    EXPECT_EQ(tree.GetChildItem(second), nullptr);
    EXPECT_EQ(tree.GetItemText(second), " (D:)");
    EXPECT_EQ(tree.GetItemText(nullptr), "");

    const std::string longText(1000, 'n');
    EXPECT_EQ(tree.GetItemText(tree.InsertItem(longText, 0, 0, root)), longText);
}

TEST_F(TreeCtrlTest, StateImageIndexIsKeptPerItem)
{
    HTREEITEM root = tree.InsertItem("My Computer", 0, 0);
    HTREEITEM child = tree.InsertItem("(C:)", 0, 0, root);
    for (int index : {3, 1, 2}) {
        EXPECT_TRUE(tree.SetStateImage(child, index));
        EXPECT_EQ(tree.GetStateImage(child), index);
    }
    EXPECT_TRUE(tree.SetStateImage(root, 3));
    EXPECT_EQ(tree.GetStateImage(root), 3);
    EXPECT_EQ(tree.GetStateImage(child), 2);
}

TEST_F(TreeCtrlTest, ExpandedChildrenCanBeSelectedAndHit)
{
    HTREEITEM root = tree.InsertItem("My Computer", 0, 0);
    HTREEITEM child = tree.InsertItem("(C:)", 0, 0, root);
    EXPECT_TRUE(tree.Expand(root));
    EXPECT_TRUE(tree.SelectItem(child));
    EXPECT_EQ(tree.GetSelectedItem(), child);

    // TVM_GETITEMRECT takes the item in the rectangle's place.
    union {
        RECT rect;
        HTREEITEM item;
    } query{};
    query.item = child;
    ASSERT_TRUE(tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&query)));
    const RECT itemRect = query.rect;
    UINT flags = 0;
    EXPECT_EQ(tree.HitTest(POINT{itemRect.left + 2, (itemRect.top + itemRect.bottom) / 2}, &flags), child);
    EXPECT_TRUE(flags & TVHT_ONITEMLABEL);
}

TEST_F(TreeCtrlTest, ControlThatIsGoneAnswersNothing)
{
    DestroyWindow(tree.GetSafeHwnd());
    EXPECT_EQ(tree.InsertItem("x", 0, 0), nullptr);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
    EXPECT_FALSE(tree.SetStateImage(nullptr, 1));
}
