// Lays out the main window's template with its skin, skinned buttons in each of their states, styled counters and
// a results list with rows, and saves what the screen shows as "main-window.bmp" (in CORVADIN_SCREENSHOT_DIR, or
// beside the test program) for a person to look at.
#include "app/MainWindowControls.h"
#include "app/ResultsFrame.h"
#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "tests/support/WindowTesting.h"
#include "ui/SkinButton.h"
#include "ui/SkinDialog.h"

#include <gtest/gtest.h>

namespace {

class MainWindowRig : public CSkinDialog {
public:
    MainWindowRig() : CSkinDialog(IDD_MAIN) {}
    MainWindowControls controls;
    ResultsFrame results;

protected:
    BOOL OnInitDialog() override
    {
        results.Create(GetSafeHwnd(), nullptr);
        SetBackground(IDB_MAIN_BACKGROUND);
        FitClientToBackground();
        controls.Bind(GetSafeHwnd());
        results.PlaceOver(GetDlgItem(GetSafeHwnd(), IDC_RESULTS_PLACEHOLDER));
        return TRUE;
    }
};

Ref<ScanIssue> Issue(const std::string& parent, const std::string& name, const std::string& description)
{
    return Ref<ScanIssue>(
        new ScanIssue(KeyIssue, new RegistryKey(HKEY_LOCAL_MACHINE, parent, name), description, "Test"));
}

}  // namespace

TEST(ResultsScreenshotTest, MainWindowWithRowsAndButtonsInEveryState)
{
    MoveMouseTo({0, 0});
    MainWindowRig rig;
    ASSERT_TRUE(rig.Create());
    SetWindowPos(rig.GetSafeHwnd(), HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(rig.GetSafeHwnd());
    CScanView* view = rig.results.View();
    ASSERT_NE(view, nullptr);
    // The buttons are placed in pixels on the skin: each lies wholly in the window, whatever its dialog font.
    const RECT client = rig.GetClientRect();
    for (const CSkinButton& button : rig.controls.Buttons()) {
        RECT place{};
        GetWindowRect(button.GetSafeHwnd(), &place);
        MapWindowPoints(nullptr, rig.GetSafeHwnd(), reinterpret_cast<POINT*>(&place), 2);
        RECT inside{};
        IntersectRect(&inside, &place, &client);
        EXPECT_TRUE(EqualRect(&inside, &place)) << GetDlgCtrlID(button.GetSafeHwnd());
    }

    constexpr int appPath = static_cast<int>(Category::AppPath);
    constexpr int startup = static_cast<int>(Category::StartupProgram);
    constexpr int shortcut = static_cast<int>(Category::Shortcut);
    const std::vector<Ref<ScanIssue>> issues = {
        Issue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", "tool.exe", " missing file:C:\\tool.exe"),
        Issue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", "old.exe", " missing file:C:\\old.exe"),
        Issue("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Agent", " missing file:C:\\agent.exe /s"),
        Issue("C:\\Users\\Public\\Desktop", "Game.lnk", " missing target:D:\\Game\\game.exe"),
    };
    view->InsertIssue(0, *issues[0], "App Path", appPath);
    view->InsertIssue(1, *issues[1], "App Path", appPath);
    view->InsertIssue(0, *issues[2], "Startup program", startup);
    view->InsertIssue(0, *issues[3], "Shortcut", shortcut);
    view->SetTicked(2, false);
    view->SetAction(3, "Fixed");
    view->GetListCtrl().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);

    // Start idle, Stop disabled, top Repair pushed, Select All under the mouse, Repair Selected idle, lower Repair
    // disabled, the busy indicator on its third frame.
    rig.controls.Buttons()[1].EnableWindow(false);
    rig.controls.Buttons()[2].SetState(true);
    rig.controls.Buttons()[5].EnableWindow(false);
    rig.controls.Busy().StartAnimation();
    // Two ticks of the animation, driven here and held on that frame for the picture.
    rig.controls.Busy().KillTimer(CSkinButton::kAnimationTimerId);
    rig.controls.Busy().SendMessage(WM_TIMER, CSkinButton::kAnimationTimerId);
    rig.controls.Busy().SendMessage(WM_TIMER, CSkinButton::kAnimationTimerId);
    ASSERT_EQ(rig.controls.Busy().FrameIndex(), 2);
    MoveMouseTo(CentreOf(rig.controls.Buttons()[3].GetSafeHwnd()));
    EXPECT_TRUE(PumpUntil([&] { return rig.controls.Buttons()[3].IsHovering(); }));
    RedrawWindow(rig.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(300);

    RECT window{};
    GetWindowRect(rig.GetSafeHwnd(), &window);
    const std::string path = ScreenshotPath("main-window.bmp");
    EXPECT_TRUE(SaveScreen(window, path)) << path;
    EXPECT_TRUE(rig.controls.Buttons()[3].IsHovering());
    EXPECT_EQ(view->RowCount(), 4);
    MoveMouseTo({0, 0});
}
