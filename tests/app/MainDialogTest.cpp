// The main window from its real template, run modeless in the test's own message loop, scanning the machine with
// a broken start-up entry planted under HKEY_CURRENT_USER.
#include "app/MainDialog.h"
#include "framework/Dpi.h"

#include "engine/IgnoreList.h"
#include "engine/ScanIssue.h"
#include "engine/ScanResults.h"
#include "registry/RegistryKey.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "settings/SettingsStore.h"
#include "settings/StartupOptions.h"
#include "tests/support/WindowTesting.h"
#include "tests/support/Scratch.h"
#include "ui/PopUp.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string PlantedName = "CorvadinTestMainWindow";
// The counter of the start-up program scanner, the tenth of the list.
constexpr int StartupCounter = 10;
constexpr DWORD ScanTimeout = 120000;

class MainDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        TheStartupFlags() = StartupFlags{};
        InitSettingsLocation(ModulePath());
        planted.SetString(HKEY_CURRENT_USER, RunKey, PlantedName, "\"C:\\CorvadinTestMissing\\gone.exe\" /quiet");
        ASSERT_TRUE(main.Create());
        window = main.GetSafeHwnd();
    }
    void TearDown() override
    {
        main.Shutdown();
        main.DestroyWindow();
        TheStartupFlags() = StartupFlags{};
    }
    // Every control of the layout inside the client area, and the list reaching its right margin.
    void ExpectEverythingInside(UINT dpi = 96) const
    {
        const RECT client = main.GetClientRect();
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) {
                continue;
            }
            RECT place{};
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            RECT inside{};
            IntersectRect(&inside, &place, &client);
            EXPECT_TRUE(EqualRect(&inside, &place)) << GetDlgCtrlID(child) << " reaches out of " << client.right;
        }
        RECT list{};
        GetWindowRect(main.View()->GetSafeHwnd(), &list);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&list), 2);
        EXPECT_EQ(list.right, client.right - Scaled(9, dpi));
        EXPECT_GT(list.bottom - list.top, client.bottom / 4);
    }

    void ScanToTheEnd()
    {
        main.StartScan();
        ASSERT_TRUE(PumpUntil([&] { return main.State() == CMainDialog::kIdle; }, ScanTimeout));
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }
    int PlantedRow() const
    {
        const CScanView* view = main.View();
        for (int row = 0; row < view->RowCount(); ++row) {
            if (view->Text(row, CScanView::NameColumn).find(PlantedName) != std::string::npos) {
                return row;
            }
        }
        return -1;
    }
    int Counter(int i) const { return TheScanResults().errorCounters[static_cast<size_t>(i)]; }
    // Scans then cover that category only, which is quick.
    void LeaveOutAllBut(Category scanned)
    {
        std::string tags;
        for (const CategoryInfo& category : Categories()) {
            tags += &category == &InfoOf(scanned) ? "" : std::string(category.tag) + ";";
        }
        planted.SetString(HKEY_LOCAL_MACHINE, SettingsKeyPath(), LeftOutCategoriesName, tags);
    }

    ForgottenMainWindow forgotten;
    ScratchFolder folder{"main-window"};
    CurrentFolder current{folder.Path()};
    PlantedRegistry planted;
    CMainDialog main;
    HWND window = nullptr;
};

}  // namespace

TEST_F(MainDialogTest, OpensIdleWithEmptyCountersAndOnlyStartAndSelectAllEnabled)
{
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(ItemText(window, IDC_STATUS), "Idle");
    for (int i = 0; i < ErrorCounterCount; ++i) {
        EXPECT_EQ(ItemText(window, CounterId(i)), "0") << i;
    }
    EXPECT_TRUE(Enabled(IDC_START_SCAN));
    EXPECT_TRUE(Enabled(IDC_SELECT_ALL));
    for (int id : {IDC_STOP_SCAN, IDC_REPAIR_ERRORS, IDC_REPAIR_SELECTED, IDC_REPAIR_LOWER}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_EQ(main.View()->RowCount(), 0);
    // Its smallest size, whatever the font makes of the template's units.
    const RECT client = main.GetClientRect();
    EXPECT_EQ(client.right, 625);
    EXPECT_EQ(client.bottom, 415);
}

TEST_F(MainDialogTest, GrowsAndShrinksBackWithEveryControlInsideAndTheListFillingTheRest)
{
    ExpectEverythingInside();
    SetWindowPos(window, nullptr, 0, 0, 1100, 900, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_GT(main.GetClientRect().right, 1000);
    ExpectEverythingInside();
    SetWindowPos(window, nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOMOVE);
    const RECT client = main.GetClientRect();
    EXPECT_EQ(client.right, 625) << "never smaller than the smallest size";
    EXPECT_EQ(client.bottom, 415);
    ExpectEverythingInside();
}

TEST_F(MainDialogTest, AMoveToAScreenOfTwiceTheScaleDoublesTheSkinAndKeepsEverythingInside)
{
    RECT suggested{};
    GetWindowRect(window, &suggested);
    suggested.right = suggested.left + (suggested.right - suggested.left) * 2;
    suggested.bottom = suggested.top + (suggested.bottom - suggested.top) * 2;
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT start{};
    GetWindowRect(GetDlgItem(window, IDC_START_SCAN), &start);
    EXPECT_EQ(start.right - start.left, 282) << "the 200% art, unscaled";
    EXPECT_EQ(start.bottom - start.top, 82);
    ExpectEverythingInside(192);
}

TEST_F(MainDialogTest, PlaceColumnsAndSortComeBackWhenTheWindowIsMadeAgain)
{
    SetWindowPos(window, nullptr, 40, 50, 900, 700, SWP_NOZORDER);
    main.View()->SetColumnWidths({100, 321});
    main.View()->SortBy(CScanView::TypeColumn, false);
    RECT before{};
    GetWindowRect(window, &before);
    main.DestroyWindow();

    ASSERT_TRUE(main.Create());
    window = main.GetSafeHwnd();
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << after.left << "," << after.top << " " << after.right;
    EXPECT_EQ(ListView_GetColumnWidth(main.View()->GetSafeHwnd(), CScanView::DescriptionColumn), 321);
    EXPECT_EQ(main.View()->SortColumn(), CScanView::TypeColumn);
    EXPECT_FALSE(main.View()->SortAscending());

    // A place on no screen that is there now: the window opens where a new one would.
    main.DestroyWindow();
    RegSetKeyValueA(HKEY_CURRENT_USER, SettingsKeyPath().c_str(), "MainWindowPlacement", REG_SZ,
                    "-90000 -90000 -89000 -89000 0", 30);
    ASSERT_TRUE(main.Create());
    window = main.GetSafeHwnd();
    GetWindowRect(window, &after);
    EXPECT_GT(after.left, -1000);
    EXPECT_EQ(main.GetClientRect().right, 625);
}

TEST_F(MainDialogTest, EveryCounterIsVisibleOnItsOwnRowAboveTheLowerRepairButton)
{
    RECT button{};
    GetWindowRect(GetDlgItem(window, IDC_REPAIR_LOWER), &button);
    std::vector<RECT> placed;
    for (int i = 0; i < ErrorCounterCount; ++i) {
        for (const UINT id : {CounterLabelId(i), CounterId(i)}) {
            RECT rect{}, both{};
            GetWindowRect(GetDlgItem(window, static_cast<int>(id)), &rect);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, static_cast<int>(id))) && rect.bottom <= button.top) << id;
            for (const RECT& other : placed) {
                EXPECT_FALSE(IntersectRect(&both, &rect, &other)) << id;
            }
            placed.push_back(rect);
        }
    }
}

// One whole scan of the machine (they take a while under Wine): the rows and counters, then the repair.
TEST_F(MainDialogTest, ScanListsTheBrokenEntryThenRepairFixesTheTickedRowsOnce)
{
    ScanToTheEnd();
    CScanView* view = main.View();
    const int row = PlantedRow();
    ASSERT_GE(row, 0);
    EXPECT_EQ(view->Text(row, CScanView::TypeColumn), "Startup program");
    EXPECT_EQ(view->Text(row, CScanView::ActionColumn), "Repair");
    EXPECT_NE(view->Text(row, CScanView::DescriptionColumn).find("gone.exe"), std::string::npos);
    EXPECT_TRUE(view->IsTicked(row));
    EXPECT_GE(Counter(StartupCounter), 1);

    int sum = 0;
    for (int i = 1; i < ErrorCounterCount; ++i) {
        sum += Counter(i);
        EXPECT_EQ(ItemText(window, CounterId(i)), std::to_string(Counter(i))) << i;
    }
    EXPECT_EQ(Counter(0), sum);
    EXPECT_EQ(Counter(0), view->RowCount());
    EXPECT_EQ(ItemText(window, IDC_TOTAL_COUNT), std::to_string(sum));
    EXPECT_EQ(ItemText(window, IDC_STATUS), "Idle");
    EXPECT_EQ(ItemText(window, IDC_CURRENT_ITEM), "");
    EXPECT_TRUE(TheScanResults().notificationPending);
    EXPECT_TRUE(Enabled(IDC_START_SCAN));
    EXPECT_FALSE(Enabled(IDC_STOP_SCAN));
    for (int id : {IDC_REPAIR_ERRORS, IDC_REPAIR_SELECTED, IDC_REPAIR_LOWER}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }

    // Only the planted row: the rest belong to the machine the test runs on.
    for (int other = 0; other < view->RowCount(); ++other) {
        view->SetTicked(other, other == row);
    }
    const int total = Counter(0);
    const int startup = Counter(StartupCounter);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_REPAIR_SELECTED, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_REPAIR_SELECTED)));
    EXPECT_EQ(view->Text(row, CScanView::ActionColumn), "Fixed");
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, RunKey, PlantedName));
    EXPECT_EQ(Counter(0), total - 1);
    EXPECT_EQ(Counter(StartupCounter), startup - 1);
    EXPECT_EQ(ItemText(window, IDC_TOTAL_COUNT), std::to_string(total - 1));
    EXPECT_EQ(ItemText(window, CounterId(StartupCounter)), std::to_string(startup - 1));
    EXPECT_TRUE(TheScanResults().repairRun);
    for (int other = 0; other < view->RowCount(); ++other) {
        if (other != row) {
            EXPECT_EQ(view->Text(other, CScanView::ActionColumn), "Repair") << other;
        }
    }
    bool rollback = false;
    for (const auto& file : std::filesystem::directory_iterator(folder.Path())) {
        rollback = rollback || file.path().extension() == ".reg";
    }
    EXPECT_TRUE(rollback);

    // Ticked again and repaired again: nothing more happens to it, and the repair buttons stay enabled.
    view->SetTicked(row, true);
    main.Repair();
    EXPECT_EQ(view->Text(row, CScanView::ActionColumn), "Fixed");
    EXPECT_EQ(Counter(0), total - 1);
    EXPECT_TRUE(Enabled(IDC_REPAIR_ERRORS));
}

// Whatever a test added to the ignore list goes again.
struct IgnoreListRemoved {
    ~IgnoreListRemoved() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, IgnoreListKeyPath().c_str()); }
};

TEST_F(MainDialogTest, IgnoredRowIsUntickedUncountedNeverRepairedAndLeftOutOfTheNextScan)
{
    const IgnoreListRemoved cleanup;
    LeaveOutAllBut(Category::StartupProgram);
    ScanToTheEnd();
    CScanView* view = main.View();
    const int row = PlantedRow();
    ASSERT_GE(row, 0);
    const int total = Counter(0);
    const int startup = Counter(StartupCounter);
    view->GetListCtrl().SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    view->SendMessage(WM_COMMAND, ID_ROW_IGNORE);

    EXPECT_EQ(view->Text(row, CScanView::ActionColumn), "Ignored");
    EXPECT_FALSE(view->IsTicked(row));
    EXPECT_EQ(Counter(0), total - 1);
    EXPECT_EQ(ItemText(window, CounterId(StartupCounter)), std::to_string(startup - 1));
    const auto entries = IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath()).Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].category, "Startup program");
    EXPECT_TRUE(entries[0].target.ends_with("\\Run\\" + PlantedName)) << entries[0].target;

    view->SetTicked(row, true);
    main.Repair();
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, RunKey, PlantedName));
    ScanToTheEnd();
    EXPECT_EQ(PlantedRow(), -1);
}

TEST_F(MainDialogTest, LeftOutCategoriesAreNotScannedAndTheirCountersReadOff)
{
    LeaveOutAllBut(Category::AppPath);
    ScanToTheEnd();
    EXPECT_EQ(PlantedRow(), -1);
    ThePopUp().Present();
    for (int i = 2; i < ErrorCounterCount; ++i) {
        EXPECT_EQ(ItemText(window, CounterId(i)), "off") << i;
        EXPECT_EQ(ItemText(ThePopUp().GetSafeHwnd(), CounterId(i)), "off") << i;
    }
    EXPECT_EQ(ItemText(window, CounterId(1)), std::to_string(Counter(1)));
    ThePopUp().DestroyIfVisible();
}

TEST_F(MainDialogTest, StopKeepsThePartialResultsAndReturnsToIdle)
{
    main.StartScan();
    main.StopScan();
    EXPECT_EQ(main.State() & CMainDialog::kStopRequested, CMainDialog::kStopRequested);
    EXPECT_EQ(ItemText(window, IDC_STATUS), "Stopping");
    EXPECT_EQ(ItemText(window, IDC_CURRENT_ITEM), "Please wait, the scanner is being stopped.");
    for (int id : {IDC_START_SCAN, IDC_STOP_SCAN, IDC_SELECT_ALL, IDC_REPAIR_ERRORS}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    ASSERT_TRUE(PumpUntil([&] { return main.State() == CMainDialog::kIdle; }, ScanTimeout));

    // The stop came during one of the first scanners: the start-up scanner never ran.
    EXPECT_EQ(PlantedRow(), -1);
    EXPECT_EQ(Counter(StartupCounter), 0);
    EXPECT_EQ(Counter(0), main.View()->RowCount());
    EXPECT_EQ(ItemText(window, IDC_STATUS), "Idle");
    EXPECT_TRUE(Enabled(IDC_START_SCAN));
    EXPECT_FALSE(main.IsWorkerRunning());
}

TEST_F(MainDialogTest, StartingAgainClearsTheListAndCountersFirst)
{
    // What an earlier scan left.
    const Ref<ScanIssue> earlier(
        new ScanIssue(KeyIssue, new RegistryKey(HKEY_CURRENT_USER, "Software", "Earlier"), " earlier", "Test"));
    main.View()->InsertIssue(0, *earlier, "Test", 0);
    TheScanResults().errorCounters[0] = 1;
    SetDlgItemTextA(window, IDC_TOTAL_COUNT, "1");
    ThePopUp().Present();

    main.StartScan();
    EXPECT_FALSE(ThePopUp().IsCreated());
    EXPECT_EQ(main.View()->RowCount(), 0);
    EXPECT_EQ(ItemText(window, IDC_TOTAL_COUNT), "0");
    EXPECT_EQ(ItemText(window, IDC_STATUS), "Scanning");
    EXPECT_FALSE(Enabled(IDC_START_SCAN));
    EXPECT_TRUE(Enabled(IDC_STOP_SCAN));
    // Start does nothing while a scan runs.
    main.StartScan();
    EXPECT_TRUE(main.IsWorkerRunning());
}

TEST_F(MainDialogTest, ShutdownDuringAScanWaitsForTheWorker)
{
    main.StartScan();
    ASSERT_TRUE(main.IsWorkerRunning());
    main.Shutdown();
    EXPECT_FALSE(main.IsWorkerRunning());
    EXPECT_EQ(main.State(), CMainDialog::kIdle);
}

TEST_F(MainDialogTest, ScanThatEndsWithoutAWindowLeavesTheNextWindowIdle)
{
    main.StartScan();
    // Closed while minimised: the window goes, the scan goes on until the program is told to end.
    main.DestroyWindow();
    main.StopScan();
    const DWORD start = GetTickCount();
    while (main.IsWorkerRunning() && GetTickCount() - start < ScanTimeout) {
        Sleep(20);
    }
    ASSERT_FALSE(main.IsWorkerRunning());

    ASSERT_TRUE(main.Create());
    window = main.GetSafeHwnd();
    EXPECT_EQ(main.State(), CMainDialog::kIdle);
    EXPECT_EQ(ItemText(window, IDC_STATUS), "Idle");
    EXPECT_TRUE(Enabled(IDC_START_SCAN));
    EXPECT_FALSE(Enabled(IDC_STOP_SCAN));
}

TEST_F(MainDialogTest, ClosingHidesTheWindowAndTheScanGoesOn)
{
    main.StartScan();
    SendMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }));
    EXPECT_TRUE(main.IsWindow());
    EXPECT_TRUE(main.IsWorkerRunning());
    EXPECT_NE(main.State(), CMainDialog::kIdle);
}

TEST_F(MainDialogTest, ReminderTimerAnnouncesAPendingEndOnceWhileTheWindowIsHidden)
{
    SendMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }));
    // Nothing pending: the reminder keeps waiting.
    TheScanResults().notificationPending = false;
    SendMessageA(window, WM_TIMER, CMainDialog::kReminderTimerId, 0);
    EXPECT_FALSE(ThePopUp().IsCreated());

    TheScanResults().notificationPending = true;
    SendMessageA(window, WM_TIMER, CMainDialog::kReminderTimerId, 0);
    EXPECT_FALSE(TheScanResults().notificationPending);
    EXPECT_TRUE(ThePopUp().IsCreated());
    ThePopUp().DestroyIfVisible();
}

TEST_F(MainDialogTest, AWindowMadeAgainLeavesTheReminderTheLastScansCounts)
{
    TheScanResults().errorCounters[0] = 2;
    TheScanResults().notificationPending = true;
    main.DestroyWindow();
    ASSERT_TRUE(main.Create());
    main.ShowWindow(SW_HIDE);
    SendMessageA(main.GetSafeHwnd(), WM_TIMER, CMainDialog::kReminderTimerId, 0);
    EXPECT_EQ(ItemText(ThePopUp().GetSafeHwnd(), IDC_TOTAL_COUNT), "2");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(ThePopUp().GetSafeHwnd(), IDC_REPAIR_LOWER)));
    ThePopUp().DestroyIfVisible();
    TheScanResults() = ScanResults{};
}

TEST_F(MainDialogTest, LaunchAtStartupTickedAndUntickedLeavesNoRunValue)
{
    const HMENU menu = GetMenu(window);
    SendMessageA(window, WM_COMMAND, ID_LAUNCH_AT_STARTUP, 0);
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
    EXPECT_TRUE(TheStartupFlags().launchAtSystemStart);
    EXPECT_TRUE(GetMenuState(menu, ID_LAUNCH_AT_STARTUP, MF_BYCOMMAND) & MF_CHECKED);

    SendMessageA(window, WM_COMMAND, ID_LAUNCH_AT_STARTUP, 0);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
    EXPECT_FALSE(TheStartupFlags().launchAtSystemStart);
    EXPECT_FALSE(GetMenuState(menu, ID_LAUNCH_AT_STARTUP, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(MainDialogTest, LaunchAtStartupIsNotTickedWhenTheRunKeyCannotBeWritten)
{
    // For this process the machine's keys are an empty scratch key: there is no Run key to open.
    ScratchKey machine("machine-without-run-key");
    HKEY empty = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, machine.Path().c_str(), 0, KEY_ALL_ACCESS, &empty), ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, empty), ERROR_SUCCESS);
    SendMessageA(window, WM_COMMAND, ID_LAUNCH_AT_STARTUP, 0);
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(empty);

    EXPECT_FALSE(TheStartupFlags().launchAtSystemStart);
    EXPECT_FALSE(GetMenuState(GetMenu(window), ID_LAUNCH_AT_STARTUP, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, RunKey, "Corvadin"));
}

// Closes the settings dialog from inside its modal run, once it shows.
bool settingsShown = false;
void CALLBACK CloseSettings(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND settings = FindWindowA(nullptr, "Corvadin settings");
    if (settings && IsWindowVisible(settings)) {
        settingsShown = true;
        KillTimer(nullptr, timer);
        PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(MainDialogTest, SettingsMenuItemRunsTheSettingsDialog)
{
    settingsShown = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseSettings);
    SendMessageA(window, WM_COMMAND, ID_OPEN_SETTINGS, 0);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(settingsShown);
    EXPECT_FALSE(FindWindowA(nullptr, "Corvadin settings"));
    EXPECT_EQ(main.State(), CMainDialog::kIdle);
}

TEST(MainDialogStartupTest, StartupScanRunsWithTheWindowHiddenFromItsFirstPaint)
{
    TheStartupFlags() = StartupFlags{};
    TheStartupFlags().startupScan = true;
    TheStartupFlags().startHidden = true;
    CMainDialog main;
    ASSERT_TRUE(main.Create());
    EXPECT_NE(main.State(), CMainDialog::kIdle);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(main.GetSafeHwnd()); }));
    main.StopScan();
    ASSERT_TRUE(PumpUntil([&] { return main.State() == CMainDialog::kIdle; }, ScanTimeout));
    EXPECT_FALSE(TheStartupFlags().startupScan);
    // The end of a scan out of sight is announced.
    EXPECT_TRUE(ThePopUp().IsCreated());
    EXPECT_TRUE(IsWindowVisible(ThePopUp().GetSafeHwnd()));
    ThePopUp().DestroyIfVisible();
    main.Shutdown();
    TheStartupFlags() = StartupFlags{};
}

TEST(MainDialogStartupTest, ExitOnCloseSuppressesTheStartupScan)
{
    TheStartupFlags() = StartupFlags{};
    TheStartupFlags().startupScan = true;
    CMainDialog main;
    main.SetExitOnClose(true);
    ASSERT_TRUE(main.Create());
    EXPECT_EQ(main.State(), CMainDialog::kIdle);
    EXPECT_FALSE(main.IsWorkerRunning());
    TheStartupFlags() = StartupFlags{};
}
