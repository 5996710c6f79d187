#include "ui/SkinButton.h"

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"
#include "ui/SkinDialog.h"

#include <gtest/gtest.h>

namespace {

// The pop-up's template, whose Repair button the tests skin; records the button's clicks.
class PopUpTemplate : public CSkinDialog {
public:
    PopUpTemplate() : CSkinDialog(IDD_POPUP) {}
    int clicks = 0;

    bool OnCommand(UINT id, UINT code, HWND control) override
    {
        if (id == IDC_REPAIR_LOWER && code == BN_CLICKED) {
            ++clicks;
            return true;
        }
        return CSkinDialog::OnCommand(id, code, control);
    }
};

class SkinButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        MoveMouseTo({0, 0});
        ASSERT_TRUE(dialog.Create());
        SetWindowPos(dialog.GetSafeHwnd(), HWND_TOPMOST, 200, 200, 296, 345, SWP_SHOWWINDOW);
        ASSERT_TRUE(button.SubclassDlgItem(IDC_REPAIR_LOWER, dialog.GetSafeHwnd()));
        button.SetBitmaps(IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, IDB_REPAIR_SMALL_HOVER,
                          IDB_REPAIR_SMALL_DISABLED);
        SetForegroundWindow(dialog.GetSafeHwnd());
        PumpFor(50);
    }
    void TearDown() override { MoveMouseTo({0, 0}); }

    bool Shows(UINT bitmapId) const { return Pixels(button.GetSafeHwnd()).Shows(Pixels(bitmapId)); }

    PopUpTemplate dialog;
    CSkinButton button;
};

}  // namespace

TEST_F(SkinButtonTest, FacesOfTheSetAreTellableApart)
{
    // Otherwise the tests below could not see which face is drawn.
    const UINT faces[] = {IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, IDB_REPAIR_SMALL_HOVER,
                          IDB_REPAIR_SMALL_DISABLED};
    for (UINT first : faces) {
        Pixels one(first);
        ASSERT_TRUE(one.Valid()) << first;
        for (UINT second : faces) {
            if (first != second) {
                EXPECT_FALSE(one.Shows(Pixels(second))) << first << " looks like " << second;
            }
        }
    }
}

TEST_F(SkinButtonTest, BoundButtonIsOwnerDrawnAndShowsItsNormalFace)
{
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_NORMAL));
}

TEST_F(SkinButtonTest, DisabledButtonShowsItsDisabledFaceAndIgnoresTheMouse)
{
    button.EnableWindow(false);
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_DISABLED));
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    EXPECT_FALSE(button.IsHovering());
    PressLeftButton(true);
    PressLeftButton(false);
    EXPECT_EQ(dialog.clicks, 0);
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_DISABLED));

    button.EnableWindow(true);
    EXPECT_FALSE(Shows(IDB_REPAIR_SMALL_DISABLED));
}

TEST_F(SkinButtonTest, DisabledButtonWithoutADisabledFaceShowsTheNormalOne)
{
    button.SetBitmaps(IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, IDB_REPAIR_SMALL_HOVER, 0);
    button.EnableWindow(false);
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_NORMAL));
}

TEST_F(SkinButtonTest, MouseOverShowsTheHoverFaceUntilItLeaves)
{
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    EXPECT_TRUE(button.IsHovering());
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_HOVER));

    MoveMouseTo(FarFrom(dialog.GetSafeHwnd()));
    EXPECT_TRUE(PumpUntil([&] { return !button.IsHovering(); }));
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_NORMAL));
}

TEST_F(SkinButtonTest, ButtonWithoutAHoverFaceKeepsItsNormalFaceUnderTheMouse)
{
    button.SetBitmaps(IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, 0, IDB_REPAIR_SMALL_DISABLED);
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    EXPECT_TRUE(button.IsHovering());
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_NORMAL));
}

TEST_F(SkinButtonTest, PressShowsThePressedFaceAndReleaseOverTheButtonClicksIt)
{
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    PressLeftButton(true);
    EXPECT_TRUE(button.IsPressed());
    EXPECT_FALSE(button.IsHovering()) << "a press ends the hover";
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_PRESSED));
    PressLeftButton(false);
    EXPECT_FALSE(button.IsPressed());
    EXPECT_EQ(dialog.clicks, 1);
}

TEST_F(SkinButtonTest, DraggingOffBeforeReleaseDoesNotClickAndDraggingBackPushesAgain)
{
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    PressLeftButton(true);
    MoveMouseTo(FarFrom(dialog.GetSafeHwnd()));
    EXPECT_FALSE(button.GetState() & BST_PUSHED);
    EXPECT_FALSE(Shows(IDB_REPAIR_SMALL_PRESSED));
    PressLeftButton(false);
    EXPECT_EQ(dialog.clicks, 0);

    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    PressLeftButton(true);
    MoveMouseTo(FarFrom(dialog.GetSafeHwnd()));
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_PRESSED));
    PressLeftButton(false);
    EXPECT_EQ(dialog.clicks, 1);
}

TEST_F(SkinButtonTest, DoubleClickIsOneMorePressAndLosingTheFocusEndsThePress)
{
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.IsPressed());
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    EXPECT_EQ(GetCapture(), button.GetSafeHwnd());

    SetFocus(dialog.GetSafeHwnd());
    EXPECT_FALSE(button.IsPressed());
    EXPECT_NE(GetCapture(), button.GetSafeHwnd());
    EXPECT_EQ(dialog.clicks, 0);
}

TEST_F(SkinButtonTest, AnimationAdvancesEveryTwoHundredMillisecondsAndStopsOnTheFirstFrame)
{
    button.SetBitmaps(IDB_BUSY, IDB_BUSY, IDB_BUSY, IDB_BUSY);
    for (UINT id = IDB_BUSY_FRAME1; id <= IDB_BUSY_FRAME6; ++id) {
        ASSERT_TRUE(button.AddFrame(id));
    }
    button.StartAnimation();
    ASSERT_TRUE(button.IsAnimating());
    EXPECT_TRUE(Shows(IDB_BUSY_FRAME1));
    PumpFor(130);
    EXPECT_EQ(button.FrameIndex(), 0) << "not before 200 ms";
    PumpFor(200);
    EXPECT_EQ(button.FrameIndex(), 1);
    EXPECT_TRUE(Shows(IDB_BUSY_FRAME2));
    PumpFor(1000);
    EXPECT_GE(button.FrameIndex(), 0);
    EXPECT_LT(button.FrameIndex(), 6) << "the index wraps round";

    button.StopAnimation();
    EXPECT_FALSE(button.IsAnimating());
    EXPECT_EQ(button.FrameIndex(), 0);
    PumpFor(300);
    EXPECT_EQ(button.FrameIndex(), 0);
    EXPECT_TRUE(Shows(IDB_BUSY));
}

TEST_F(SkinButtonTest, AnimatingButtonShowsItsFrameEvenUnderTheMouse)
{
    ASSERT_TRUE(button.AddFrame(IDB_BUSY_FRAME3));
    button.StartAnimation();
    MoveMouseTo(CentreOf(button.GetSafeHwnd()));
    EXPECT_TRUE(button.IsHovering());
    EXPECT_EQ(button.FaceFor(0), CSkinButton::Face::Frame);
    EXPECT_TRUE(Shows(IDB_BUSY_FRAME3));
    button.StopAnimation();
    EXPECT_TRUE(Shows(IDB_REPAIR_SMALL_HOVER));
}

TEST_F(SkinButtonTest, FramesStopAtFifteenAndAnimationNeedsOne)
{
    button.StartAnimation();
    EXPECT_FALSE(button.IsAnimating()) << "no frame to show";
    for (int frame = 0; frame < CSkinButton::kMaxFrames; ++frame) {
        EXPECT_TRUE(button.AddFrame(IDB_BUSY_FRAME1 + frame % 6));
    }
    EXPECT_FALSE(button.AddFrame(IDB_BUSY_FRAME1));
    EXPECT_EQ(button.FrameCount(), 15);
    EXPECT_FALSE(CSkinButton().AddFrame(4321)) << "a missing bitmap is no frame";
}
