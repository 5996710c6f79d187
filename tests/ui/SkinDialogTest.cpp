#include "ui/SkinDialog.h"

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

namespace {

// The hidden owner's template has no controls, so its whole client area is background.
class SkinDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create());
        SetWindowPos(dialog.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 700, 760, SWP_SHOWWINDOW);
        PumpFor(20);
    }

    CSkinDialog dialog{IDD_HIDDEN};
};

}  // namespace

TEST_F(SkinDialogTest, WithoutABitmapTheBackgroundIsThePlainSkinColour)
{
    const Pixels shown(dialog.GetSafeHwnd());
    for (POINT point : {POINT{0, 0}, POINT{200, 300}, POINT{shown.Size().cx - 1, shown.Size().cy - 1}}) {
        EXPECT_EQ(shown.At(point.x, point.y), RGB(152, 143, 134)) << point.x << "," << point.y;
    }
    EXPECT_FALSE(dialog.SetBackground(4321));
    EXPECT_EQ(Pixels(dialog.GetSafeHwnd()).At(10, 10), RGB(152, 143, 134));
}

TEST_F(SkinDialogTest, BitmapIsRepeatedFromTheTopLeftUntilTheClientAreaIsCovered)
{
    ASSERT_TRUE(dialog.SetBackground(IDB_POPUP_BACKGROUND));
    const Pixels tile(static_cast<UINT>(IDB_POPUP_BACKGROUND));
    const Pixels shown(dialog.GetSafeHwnd());
    const SIZE size = tile.Size();
    ASSERT_GT(shown.Size().cx, 2 * size.cx);
    ASSERT_GT(shown.Size().cy, 2 * size.cy);
    for (int y = 0; y < shown.Size().cy; y += 37) {
        for (int x = 0; x < shown.Size().cx; x += 29) {
            ASSERT_EQ(shown.At(x, y), tile.At(x % size.cx, y % size.cy)) << x << "," << y;
        }
    }
}

TEST_F(SkinDialogTest, ClientAreaIsFittedToTheSkinWhateverTheDialogFontAndTheMenu)
{
    EXPECT_FALSE(dialog.FitClientToBackground()) << "no skin to fit";
    ASSERT_TRUE(dialog.SetBackground(IDB_POPUP_BACKGROUND));
    EXPECT_TRUE(dialog.FitClientToBackground());
    RECT client = dialog.GetClientRect();
    EXPECT_EQ(client.right, 290);
    EXPECT_EQ(client.bottom, 321);

    // The main window's buttons are placed in pixels down to its skin's bottom edge.
    CSkinDialog main{IDD_MAIN};
    ASSERT_TRUE(main.Create());
    ASSERT_NE(GetMenu(main.GetSafeHwnd()), nullptr);
    ASSERT_TRUE(main.SetBackground(IDB_MAIN_BACKGROUND));
    EXPECT_TRUE(main.FitClientToBackground());
    client = main.GetClientRect();
    EXPECT_EQ(client.right, 625);
    EXPECT_EQ(client.bottom, 415);
}
