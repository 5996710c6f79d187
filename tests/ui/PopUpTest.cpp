#include "ui/PopUp.h"

#include "resources/resource.h"
#include "scanners/Categories.h"
#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

namespace {

// The pop-up with its sound recorded instead of played.
class QuietPopUp : public CPopUp {
public:
    std::vector<std::string> sounds;

protected:
    void PlayNotifySound(const std::string& path) override { sounds.push_back(path); }
};

RECT WorkArea()
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

class PopUpTest : public testing::Test {
protected:
    void SetUp() override
    {
        MoveMouseTo({0, 0});
        TheScanResults() = ScanResults{};
    }
    void TearDown() override { TheScanResults() = ScanResults{}; }

    // Counts as a scan leaves them: the categories hold 1, 0, 3, 0, ... and the total their sum.
    static void SetCounts()
    {
        auto& counts = TheScanResults().errorCounters;
        counts[0] = 0;
        for (int i = 1; i < ErrorCounterCount; ++i) {
            counts[i] = i % 2 ? i : 0;
            counts[0] += counts[i];
        }
    }

    HWND Window() const { return popUp.GetSafeHwnd(); }
    HWND RepairButton() const { return GetDlgItem(Window(), IDC_REPAIR_LOWER); }
    std::string Text(UINT id) const
    {
        char text[64] = "";
        GetDlgItemTextA(Window(), static_cast<int>(id), text, sizeof text);
        return text;
    }
    bool Shown() const { return popUp.IsCreated() && IsWindowVisible(Window()); }

    // A key as the dialog manager sees it: a press that reaches the pop-up through the message pump.
    void Press(WPARAM key) const
    {
        PostMessageA(GetFocus() && IsChild(Window(), GetFocus()) ? GetFocus() : Window(), WM_KEYDOWN, key, 0);
        PumpFor(20);
    }
    void PressEscape() const { Press(VK_ESCAPE); }
    void FireReminder() const
    {
        popUp.SendMessage(WM_TIMER, CPopUp::kReminderTimerId, 0);
        PumpFor(20);
    }

    QuietPopUp popUp;
};

}  // namespace

TEST(PopUpPlacementTest, LowerRightOfTheWorkAreaWhereverTheTaskbarStandsAndInsideSmallScreens)
{
    const struct {
        const char* where;
        RECT work;
        RECT expected;
    } cases[] = {
        {"taskbar at the bottom", {0, 0, 1280, 994}, {984, 649, 1280, 994}},
        {"taskbar at the top", {0, 30, 1280, 1024}, {984, 679, 1280, 1024}},
        {"taskbar on the left", {60, 0, 1280, 1024}, {984, 679, 1280, 1024}},
        {"taskbar on the right", {0, 0, 1220, 1024}, {924, 679, 1220, 1024}},
        {"second monitor left of the first", {-1024, 0, 0, 738}, {-296, 393, 0, 738}},
        {"screen lower than the pop-up", {0, 0, 640, 300}, {344, 0, 640, 345}},
        {"screen narrower than the pop-up", {0, 30, 120, 600}, {0, 255, 296, 600}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.where);
        const RECT placed = CPopUp::Placement(test.work);
        EXPECT_TRUE(EqualRect(&placed, &test.expected))
            << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
        EXPECT_EQ(placed.right - placed.left, CPopUp::kWidth);
        EXPECT_EQ(placed.bottom - placed.top, CPopUp::kHeight);
        EXPECT_GE(placed.left, test.work.left) << "the left edge and the caption stay reachable";
        EXPECT_GE(placed.top, test.work.top);
    }
}

TEST_F(PopUpTest, PresentShowsTheLastCountsAtTheLowerRightOfTheWorkAreaWithTheSound)
{
    popUp.SetSoundFile("C:\\Program Files\\Corvadin\\Sound\\notify.wav");
    SetCounts();
    EXPECT_FALSE(popUp.IsCreated());
    popUp.Present();
    ASSERT_TRUE(Shown());

    RECT placed{};
    GetWindowRect(Window(), &placed);
    const RECT expected = CPopUp::Placement(WorkArea());
    EXPECT_TRUE(EqualRect(&placed, &expected)) << placed.left << "," << placed.top;
    EXPECT_EQ(placed.right - placed.left, 296);
    EXPECT_EQ(placed.bottom - placed.top, 345);
    EXPECT_TRUE(GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetParent(Window()), nullptr);

    EXPECT_EQ(Text(IDC_TOTAL_COUNT), std::to_string(TheScanResults().errorCounters[0]));
    // Only the categories with findings are shown.
    for (int i = 1; i < ErrorCounterCount; ++i) {
        const int count = TheScanResults().errorCounters[static_cast<size_t>(i)];
        EXPECT_EQ(Text(CounterId(i)), std::to_string(count)) << i;
        EXPECT_EQ(IsWindowVisible(GetDlgItem(Window(), static_cast<int>(CounterLabelId(i)))) != FALSE, count > 0) << i;
    }
    EXPECT_EQ(Text(IDC_ERRORS_FOUND), "Errors found");
    EXPECT_TRUE(IsWindowEnabled(RepairButton()));
    EXPECT_EQ(GetWindowLongA(RepairButton(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(popUp.sounds, std::vector<std::string>{"C:\\Program Files\\Corvadin\\Sound\\notify.wav"});
}

TEST_F(PopUpTest, AScanThatFoundNothingShowsZerosAndADisabledRepairButton)
{
    popUp.Present();
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Text(IDC_TOTAL_COUNT), "0");
    EXPECT_EQ(Text(IDC_COUNT_SHORTCUTS), "0");
    EXPECT_FALSE(IsWindowEnabled(RepairButton()));
}

TEST_F(PopUpTest, EscapeEnterAndTheCloseBoxHideItAndTheReminderBringsItBack)
{
    SetCounts();
    popUp.Present();
    ASSERT_TRUE(Shown());
    PressEscape();
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(popUp.IsCreated()) << "hidden, not destroyed";
    EXPECT_TRUE(popUp.IsReminderArmed());

    // Moved away meanwhile: the reminder puts it back in its corner, with the sound.
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FireReminder();
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(popUp.IsReminderArmed()) << "one reminder per closing";
    RECT placed{};
    GetWindowRect(Window(), &placed);
    const RECT expected = CPopUp::Placement(WorkArea());
    EXPECT_TRUE(EqualRect(&placed, &expected));
    EXPECT_EQ(popUp.sounds.size(), 2u);

    popUp.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(20);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(popUp.IsReminderArmed()) << "closing again arms the reminder again";
    FireReminder();
    EXPECT_TRUE(Shown());

    // Enter, with the focus on the Repair button or nowhere, dismisses it the same way; it does not repair.
    Press(VK_RETURN);
    EXPECT_FALSE(Shown());
    EXPECT_TRUE(popUp.IsCreated());
    EXPECT_TRUE(popUp.IsReminderArmed());
}

TEST_F(PopUpTest, AfterARepairTheReminderKeepsItHidden)
{
    SetCounts();
    popUp.Present();
    PressEscape();
    ASSERT_FALSE(Shown());
    TheScanResults().repairRun = true;
    FireReminder();
    EXPECT_FALSE(Shown());
    EXPECT_FALSE(popUp.IsReminderArmed());
    EXPECT_EQ(popUp.sounds.size(), 1u) << "no sound for a reminder that does not show";
}

TEST_F(PopUpTest, RepairButtonRunsTheRepairAndDestroysTheWindow)
{
    SetCounts();
    int repairs = 0;
    popUp.SetRepairHandler([&] { ++repairs; });
    popUp.Present();
    ASSERT_TRUE(IsWindowEnabled(RepairButton()));
    popUp.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REPAIR_LOWER, BN_CLICKED), reinterpret_cast<LPARAM>(RepairButton()));
    PumpFor(20);
    EXPECT_EQ(repairs, 1);
    EXPECT_FALSE(popUp.IsCreated());
    EXPECT_FALSE(popUp.IsReminderArmed());

    // A repair that removes the pop-up itself, as the main window's does, leaves nothing to destroy twice.
    popUp.SetRepairHandler([&] {
        ++repairs;
        popUp.DestroyIfVisible();
    });
    popUp.Present();
    popUp.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_REPAIR_LOWER, BN_CLICKED), reinterpret_cast<LPARAM>(RepairButton()));
    EXPECT_EQ(repairs, 2);
    EXPECT_FALSE(popUp.IsCreated());

    // Made anew by the next announcement, with its controls bound again.
    popUp.Present();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Text(IDC_TOTAL_COUNT), std::to_string(TheScanResults().errorCounters[0]));
}

TEST_F(PopUpTest, RepairButtonClickedWithTheMouseRunsTheRepair)
{
    SetCounts();
    int repairs = 0;
    popUp.SetRepairHandler([&] { ++repairs; });
    popUp.Present();
    SetForegroundWindow(Window());
    MoveMouseTo(CentreOf(RepairButton()));
    PressLeftButton(true);
    PressLeftButton(false);
    MoveMouseTo({0, 0});
    EXPECT_EQ(repairs, 1);
    EXPECT_FALSE(popUp.IsCreated());
}

TEST_F(PopUpTest, OnlyAVisiblePopUpIsRemovedByAScanStartOrARepair)
{
    popUp.DestroyIfVisible();  // no window: nothing happens
    popUp.Present();
    PressEscape();
    popUp.DestroyIfVisible();
    EXPECT_TRUE(popUp.IsCreated()) << "a hidden pop-up is left alone";
    EXPECT_TRUE(popUp.IsReminderArmed());

    FireReminder();
    popUp.DestroyIfVisible();
    EXPECT_FALSE(popUp.IsCreated());
}

TEST_F(PopUpTest, AHiddenPopUpShownForALaterScanShowsThatScansCounts)
{
    SetCounts();
    popUp.Present();
    PressEscape();
    ASSERT_FALSE(Shown());

    TheScanResults() = ScanResults{};
    TheScanResults().errorCounters[0] = 2;
    TheScanResults().errorCounters[13] = 2;
    popUp.Present();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Text(IDC_TOTAL_COUNT), "2");
    EXPECT_EQ(Text(IDC_COUNT_FIRST), "0");
    EXPECT_EQ(Text(IDC_COUNT_SHORTCUTS), "2");
}

TEST_F(PopUpTest, TheProcessWidePopUpStaysSilentWithoutASoundFile)
{
    SetCounts();
    ThePopUp().Present();
    EXPECT_TRUE(ThePopUp().IsCreated());
    EXPECT_TRUE(IsWindowVisible(ThePopUp().GetSafeHwnd()));
    EXPECT_EQ(&ThePopUp(), &ThePopUp());
    ThePopUp().DestroyIfVisible();
    EXPECT_FALSE(ThePopUp().IsCreated());
}

TEST_F(PopUpTest, PictureOfThePopUpOverTheDesktop)
{
    SetCounts();
    popUp.Present();
    ASSERT_TRUE(Shown());
    PumpFor(300);
    // The lower right of the screen, with some desktop round the pop-up; saved as "popup.bmp".
    RECT window{};
    GetWindowRect(Window(), &window);
    const RECT around{window.left - 240, window.top - 60, window.right, window.bottom};
    const std::string path = ScreenshotPath("popup.bmp");
    EXPECT_TRUE(SaveScreen(around, path)) << path;
}
