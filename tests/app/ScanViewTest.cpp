#include "app/ScanView.h"

#include "app/ResultsCommands.h"
#include "app/ResultsFrame.h"
#include "app/RowActions.h"
#include "engine/ScanIssue.h"
#include "framework/Dialog.h"
#include "registry/FileItem.h"
#include "registry/RegistryValue.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "tests/support/PlainRegistry.h"
#include "tests/support/WindowTesting.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

// The main window as the list sees it: records what the list's commands asked for.
class RecordingMainWindow : public ResultsCommands {
public:
    void StartScan() override { calls.push_back("StartScan"); }
    void StopScan() override { calls.push_back("StopScan"); }
    void Repair() override { calls.push_back("Repair"); }
    void OpenHelp() override { calls.push_back("OpenHelp"); }
    void EndMainWindow() override { calls.push_back("EndMainWindow"); }
    void IgnoreSelected() override { calls.push_back("IgnoreSelected"); }
    std::vector<std::string> calls;
};

// The main window's template, shown modeless, with the results frame over its placeholder.
class MainTemplate : public CDialog {
public:
    MainTemplate() : CDialog(IDD_MAIN) {}
    std::vector<UINT> commands;
    int contextMenus = 0;

protected:
    bool OnCommand(UINT id, UINT code, HWND control) override
    {
        // The details area's notices of its new text are no commands.
        char kind[16] = "";
        if (!control || !GetClassNameA(control, kind, sizeof kind) || lstrcmpiA(kind, "Edit") != 0) {
            commands.push_back(id);
        }
        return CDialog::OnCommand(id, code, control);
    }
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CONTEXTMENU) {
            ++contextMenus;
        }
        return CDialog::HandleMessage(message, wParam, lParam);
    }
};

Ref<ScanIssue> MakeIssue(const std::string& name, const std::string& description)
{
    return Ref<ScanIssue>(new ScanIssue(::KeyIssue, new RegistryKey(HKEY_CURRENT_USER, "Software\\Test", name),
                                        description, "Test"));
}

class ScanViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.Create());
        window.ShowWindow(SW_SHOW);
        ASSERT_TRUE(results.Create(window.GetSafeHwnd(), &mainWindow));
        results.PlaceOver(GetDlgItem(window.GetSafeHwnd(), IDC_RESULTS_PLACEHOLDER));
        view = results.View();
        ASSERT_NE(view, nullptr);
        // The keys of the tests below go to the foreground window, wherever it is.
        SetForegroundWindow(window.GetSafeHwnd());
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window.GetSafeHwnd(); }));
    }

    // One scanner's batch as the main window inserts it: from the top, in the batch's own order.
    void InsertBatch(const std::string& scanner, int category, const std::vector<Ref<ScanIssue>>& batch)
    {
        for (size_t j = 0; j < batch.size(); ++j) {
            ASSERT_GE(view->InsertIssue(static_cast<int>(j), *batch[j], scanner, category), 0);
        }
    }

    void FillThreeRows()
    {
        issues = {MakeIssue("first", "d1"), MakeIssue("second", "d2"), MakeIssue("third", "d3")};
        InsertBatch("Scanner", 0, issues);
    }

    void FocusListAndSelect(std::initializer_list<int> rows)
    {
        SetFocus(view->GetSafeHwnd());
        for (int row : rows) {
            view->GetListCtrl().SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
        PumpFor(20);
    }

    MainTemplate window;
    RecordingMainWindow mainWindow;
    ResultsFrame results;
    CScanView* view = nullptr;
    std::vector<Ref<ScanIssue>> issues;
};

}  // namespace

TEST_F(ScanViewTest, ListHasItsFiveColumnsCheckBoxesAndFullRowSelection)
{
    const CListCtrl list = view->GetListCtrl();
    ASSERT_EQ(ColumnCount(list.GetSafeHwnd()), 5);
    const char* headers[] = {"Name", "Description", "Type", "Grade", "Action"};
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(ColumnHeader(list.GetSafeHwnd(), column), headers[column]);
                LVCOLUMNA info{};
        info.mask = LVCF_FMT;
        ListView_GetColumn(list.GetSafeHwnd(), column, &info);
        EXPECT_EQ(info.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    const DWORD extended = list.GetExtendedStyle();
    EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(view->GetStyle() & LVS_REPORT);
    EXPECT_TRUE(view->GetStyle() & WS_BORDER);
}

TEST_F(ScanViewTest, ListAndDetailsTakeThePlaceholdersPlace)
{
    HWND placeholder = GetDlgItem(window.GetSafeHwnd(), IDC_RESULTS_PLACEHOLDER);
    RECT place{};
    RECT frame{};
    RECT details{};
    GetWindowRect(placeholder, &place);
    GetWindowRect(results.FrameWindow(), &frame);
    GetWindowRect(results.DetailsWindow(), &details);
    RECT both{};
    UnionRect(&both, &frame, &details);
    EXPECT_TRUE(EqualRect(&place, &both));
    EXPECT_EQ(frame.bottom, details.top);
    EXPECT_TRUE(IsWindowVisible(results.FrameWindow()));
    EXPECT_TRUE(IsWindowVisible(results.DetailsWindow()));
    EXPECT_FALSE(IsWindowVisible(placeholder));
}

TEST_F(ScanViewTest, EachScannersBatchGoesOnTopInItsOwnOrderAsTickedRows)
{
    constexpr int appPathIndex = static_cast<int>(Category::AppPath);
    constexpr int shortcutIndex = static_cast<int>(Category::Shortcut);
    const std::vector<Ref<ScanIssue>> appPath = {MakeIssue("app.exe", " missing file:c:\\app.exe"),
                                                 MakeIssue("tool.exe", " missing file:c:\\tool.exe")};
    const std::vector<Ref<ScanIssue>> shortcut = {MakeIssue("link.lnk", " missing target"),
                                                  MakeIssue("other.lnk", " missing target 2")};
    const long liveBefore = RefCounted::LiveObjects();
    InsertBatch("App Path", appPathIndex, appPath);
    InsertBatch("Shortcut", shortcutIndex, shortcut);

    ASSERT_EQ(view->RowCount(), 4);
    const struct {
        const char* name;
        const char* description;
        const char* type;
        int category;
        ScanIssue* issue;
    } expected[] = {
        {"link.lnk", " missing target", "Shortcut", shortcutIndex, shortcut[0].get()},
        {"other.lnk", " missing target 2", "Shortcut", shortcutIndex, shortcut[1].get()},
        {"app.exe", " missing file:c:\\app.exe", "App Path", appPathIndex, appPath[0].get()},
        {"tool.exe", " missing file:c:\\tool.exe", "App Path", appPathIndex, appPath[1].get()},
    };
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(view->Text(row, CScanView::NameColumn), expected[row].name);
        EXPECT_EQ(view->Text(row, CScanView::DescriptionColumn), expected[row].description);
        EXPECT_EQ(view->Text(row, CScanView::TypeColumn), expected[row].type);
        EXPECT_EQ(view->Text(row, CScanView::ActionColumn), "Repair");
        EXPECT_TRUE(view->IsTicked(row));
        ResultRow* record = view->RowData(row);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->category, expected[row].category);
        EXPECT_EQ(record->issue, expected[row].issue);
    }
    EXPECT_EQ(RefCounted::LiveObjects(), liveBefore) << "rows hold no references";

    view->SetAction(2, "Fixed");
    EXPECT_EQ(view->Text(2, CScanView::ActionColumn), "Fixed");
    EXPECT_EQ(view->Text(3, CScanView::ActionColumn), "Repair");
}

TEST_F(ScanViewTest, TheSelectionStaysWithItsRowsWhenABatchGoesOnTopAndAClickOnABoxTogglesItsRow)
{
    FillThreeRows();
    FocusListAndSelect({1, 2});
    const std::vector<Ref<ScanIssue>> batch = {MakeIssue("new1", "d"), MakeIssue("new2", "d")};
    InsertBatch("Later", 1, batch);
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{3, 4}));
    EXPECT_EQ(view->GetListCtrl().GetNextItem(-1, LVNI_FOCUSED), 4);
    EXPECT_EQ(view->Text(4, CScanView::NameColumn), "third");

    // The box is the row's first 16 pixels.
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageA(view->GetSafeHwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    POINT box{row.left + 8, (row.top + row.bottom) / 2};
    ClientToScreen(view->GetSafeHwnd(), &box);
    MoveMouseTo(box);
    PressLeftButton(true);
    PressLeftButton(false);
    EXPECT_FALSE(view->IsTicked(1));
    EXPECT_TRUE(view->IsTicked(0) && view->IsTicked(2));
    EXPECT_EQ(view->SelectedRows(), (std::vector<int>{3, 4})) << "a click on a box leaves the selection";
    MoveMouseTo(FarFrom(window.GetSafeHwnd()));
}

TEST_F(ScanViewTest, OddTextsAreListedWhole)
{
    const std::string longName(3000, 'k');
    const std::string odd = "say \"hi\" \\\\server\\share %d\t|";
    issues = {MakeIssue(longName, odd)};
    InsertBatch("App Path", 0, issues);
    EXPECT_EQ(view->Text(0, CScanView::NameColumn), longName);
    EXPECT_EQ(view->RowData(0)->fullName, "HKEY_CURRENT_USER\\Software\\Test\\" + longName);
    EXPECT_EQ(view->Text(0, CScanView::DescriptionColumn), odd);
}

TEST_F(ScanViewTest, ClearingFreesTheRowsButLeavesTheIssuesToTheirLists)
{
    FillThreeRows();
    const long liveBefore = RefCounted::LiveObjects();
    view->ClearResults();
    EXPECT_EQ(view->RowCount(), 0);
    EXPECT_EQ(RefCounted::LiveObjects(), liveBefore);
    EXPECT_EQ(view->RowData(0), nullptr);
    view->ClearResults();
    EXPECT_EQ(view->RowCount(), 0);
}

// An Expert row starts unticked and stays so through Tick All; the details area shows the selected row's case,
// and a click on the Grade header brings the rows of one grade together.
TEST_F(ScanViewTest, ExpertRowsAreTickedOnlyByHandAndTheDetailsShowTheSelectedRow)
{
    FillThreeRows();
    issues[1]->SetGrade(Grade::Expert, "restored by its installer");
    issues[1]->AddLook({"C:\\gone\\tool.exe", "not found"});
    const Ref<ScanIssue> expert = issues[1];
    view->ClearResults();
    InsertBatch("Scanner", 0, issues);
    EXPECT_FALSE(view->IsTicked(1));
    view->TickAll();
    EXPECT_FALSE(view->IsTicked(1));
    EXPECT_EQ(view->Text(1, CScanView::GradeColumn), "Expert");

    FocusListAndSelect({1});
    const std::string shown = WindowText(results.DetailsWindow());
    EXPECT_NE(shown.find("Entry: HKEY_CURRENT_USER\\Software\\Test\\second"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Grade: Expert - restored by its installer"), std::string::npos) << shown;
    EXPECT_NE(shown.find("  C:\\gone\\tool.exe: not found"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Repair deletes the key"), std::string::npos) << shown;
    EXPECT_TRUE(view->RowCommandApplies(ID_ROW_COPY_DETAILS));

    view->SortBy(CScanView::GradeColumn);
    EXPECT_EQ(view->RowData(0)->issue, expert.get());
    EXPECT_EQ(view->Text(1, CScanView::NameColumn), view->RowData(1)->name);
}

TEST_F(ScanViewTest, SortingBothWaysKeepsTicksSelectionAndFocusWithTheirRowsAndHoldsForLaterRows)
{
    FillThreeRows();
    view->SetTicked(0, false);  // "first"
    FocusListAndSelect({1});    // "second"
    view->SortBy(CScanView::NameColumn, false);
    EXPECT_EQ(view->Text(0, CScanView::NameColumn), "third");
    EXPECT_EQ(view->Text(2, CScanView::NameColumn), "first");
    EXPECT_FALSE(view->IsTicked(2));
    EXPECT_TRUE(view->IsTicked(0) && view->IsTicked(1));
    EXPECT_EQ(view->SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(ListView_GetNextItem(view->GetSafeHwnd(), -1, LVNI_FOCUSED), 1);

    const std::vector<Ref<ScanIssue>> batch = {MakeIssue("zebra", "d"), MakeIssue("alpha", "d")};
    InsertBatch("App Path", 0, batch);
    EXPECT_EQ(view->Text(0, CScanView::NameColumn), "zebra");
    EXPECT_EQ(view->Text(4, CScanView::NameColumn), "alpha");
    EXPECT_EQ(view->SortColumn(), CScanView::NameColumn);
    EXPECT_FALSE(view->SortAscending());
}

TEST_F(ScanViewTest, TickAllTicksAgainWhatTheUserUnticked)
{
    FillThreeRows();
    view->SetTicked(0, false);
    view->SetTicked(2, false);
    view->TickAll();
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(view->IsTicked(row)) << row;
    }
    view->TickAll();
    EXPECT_TRUE(view->IsTicked(1)) << "ticking all never unticks";
}

TEST_F(ScanViewTest, ToggleChangesOnlyTheFirstSelectedRow)
{
    view->ToggleSelectedTick();  // empty list: nothing happens
    FillThreeRows();
    view->ToggleSelectedTick();  // nothing selected: nothing happens
    EXPECT_TRUE(view->IsTicked(0) && view->IsTicked(1) && view->IsTicked(2));

    FocusListAndSelect({1, 2});
    view->ToggleSelectedTick();
    EXPECT_TRUE(view->IsTicked(0));
    EXPECT_FALSE(view->IsTicked(1));
    EXPECT_TRUE(view->IsTicked(2));
    view->ToggleSelectedTick();
    EXPECT_TRUE(view->IsTicked(1));
}

TEST_F(ScanViewTest, SpaceAndCtrlATickThroughTheKeyboard)
{
    FillThreeRows();
    FocusListAndSelect({1});
    PressKeys({VK_SPACE});
    EXPECT_FALSE(view->IsTicked(1)) << "Space toggles the selected row once";
    EXPECT_TRUE(view->IsTicked(0));
    PressKeys({VK_SPACE});
    EXPECT_TRUE(view->IsTicked(1));

    view->SetTicked(0, false);
    view->SetTicked(1, false);
    PressKeys({VK_CONTROL, 'A'});
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(view->IsTicked(row)) << row;
    }
    EXPECT_TRUE(mainWindow.calls.empty());
}

TEST_F(ScanViewTest, ListKeysReachTheMainWindowAndTheDialogKeepsRunning)
{
    FillThreeRows();
    FocusListAndSelect({0});
    PressKeys({VK_ESCAPE});
    PressKeys({VK_CONTROL, VK_RETURN});
    PressKeys({VK_CONTROL, VK_DELETE});
    PressKeys({VK_F1});
    PressKeys({VK_CONTROL, 'D'});
    PressKeys({VK_CONTROL, 'X'});
    EXPECT_EQ(mainWindow.calls,
              (std::vector<std::string>{"StopScan", "StartScan", "Repair", "OpenHelp", "EndMainWindow"}));
    EXPECT_TRUE(window.commands.empty()) << "the dialog saw no cancel or OK";
    EXPECT_EQ(view->RowCount(), 3);
    EXPECT_TRUE(view->IsTicked(0));
}

bool menuShown = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        menuShown = true;
        EndMenu();
    }
}

TEST_F(ScanViewTest, RowMenuOpensOnlyOverASelectedRowAndTheWindowBehindSeesNone)
{
    FillThreeRows();
    menuShown = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseMenu);
    view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->GetSafeHwnd()), MAKELPARAM(100, 100));
    PumpFor(100);
    EXPECT_FALSE(menuShown) << "no row selected";
    FocusListAndSelect({1});
    view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view->GetSafeHwnd()), -1);  // the keyboard's
    KillTimer(nullptr, timer);
    EXPECT_TRUE(menuShown);
    EXPECT_EQ(window.contextMenus, 0);
}

// The registry editors running now that are not among known.
std::set<DWORD> RegistryEditors(const std::set<DWORD>& known = {})
{
    std::set<DWORD> ids;
    const UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, "regedit.exe") == 0 && !known.contains(entry.th32ProcessID)) {
            ids.insert(entry.th32ProcessID);
        }
    }
    return ids;
}

// A key, a value and a shortcut row: each command applies where it makes sense, to the rows it makes sense for.
TEST_F(ScanViewTest, RowCommandsActOnTheirRows)
{
    const Ref<RegistryKey> key(new RegistryKey(HKEY_CURRENT_USER, "Software\\Test", "Gone"));
    issues = {Ref<ScanIssue>(new ScanIssue(KeyIssue, key.get(), " missing", "Test")),
              Ref<ScanIssue>(new ScanIssue(ValueIssue, new RegistryValue("odd\\name", key.get()), " v", "Test")),
              Ref<ScanIssue>(new ScanIssue(FileIssue, new FileItem("a.lnk", "C:\\Links"), " f", "Test"))};
    InsertBatch("Scanner", 0, issues);
    const auto applies = [&](UINT id) { return view->RowCommandApplies(id); };
    FocusListAndSelect({2});
    EXPECT_TRUE(applies(ID_ROW_OPEN_FOLDER) && applies(ID_ROW_COPY_PATH) && applies(ID_ROW_IGNORE));
    EXPECT_FALSE(applies(ID_ROW_OPEN_REGEDIT));
    view->GetListCtrl().SetItemState(2, 0, LVIS_SELECTED | LVIS_FOCUSED);
    FocusListAndSelect({0, 1});
    EXPECT_FALSE(applies(ID_ROW_OPEN_FOLDER));

    view->SendMessage(WM_COMMAND, ID_ROW_COPY_PATH);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE copy = GetClipboardData(CF_TEXT);
    const auto* copied = static_cast<const char*>(GlobalLock(copy));
    EXPECT_STREQ(copied, "HKEY_CURRENT_USER\\Software\\Test\\Gone\r\nHKEY_CURRENT_USER\\Software\\Test\\Gone\\odd\\name");
    GlobalUnlock(copy);
    CloseClipboard();

    // The focused row, a value: the editor opens at its key.
    const std::set<DWORD> before = RegistryEditors();
    view->SendMessage(WM_COMMAND, ID_ROW_OPEN_REGEDIT);
    EXPECT_EQ(ValueText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", "LastKey"),
              "HKEY_CURRENT_USER\\Software\\Test\\Gone");
    std::set<DWORD> started;
    EXPECT_TRUE(PumpUntil([&] { return !(started = RegistryEditors(before)).empty(); }));
    for (const DWORD id : started) {
        TerminateProcess(UniqueKernelHandle(OpenProcess(PROCESS_TERMINATE, FALSE, id)).get(), 0);
    }

    view->SendMessage(WM_COMMAND, ID_ROW_IGNORE);
    EXPECT_EQ(mainWindow.calls, std::vector<std::string>{"IgnoreSelected"});
    view->RowData(0)->issue = view->RowData(1)->issue = nullptr;  // repaired or ignored: nothing left to ignore
    EXPECT_FALSE(applies(ID_ROW_IGNORE));
    EXPECT_TRUE(applies(ID_ROW_COPY_PATH) && applies(ID_ROW_OPEN_REGEDIT));
}

TEST(RegistryEditorPathTest, WindowsNamesTheRootItemAsItsEditorDidAndWineStartsAtTheHive)
{
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\x";
    EXPECT_EQ(RegistryEditorPath(key, "", false), "Computer\\" + key);
    EXPECT_EQ(RegistryEditorPath(key, "Ordinateur\\HKEY_USERS", false), "Ordinateur\\" + key);
    EXPECT_EQ(RegistryEditorPath(key, "HKEY_USERS\\.DEFAULT", false), "Computer\\" + key);
    EXPECT_EQ(RegistryEditorPath(key, "Computer", false), "Computer\\" + key);
    EXPECT_EQ(RegistryEditorPath(key, "Computer\\HKEY_USERS", true), key);
}

TEST_F(ScanViewTest, ListWithoutItsMainWindowIgnoresItsCommands)
{
    view->SetMainWindow(nullptr);
    FillThreeRows();
    FocusListAndSelect({0});
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(window.commands.empty());
}

TEST_F(ScanViewTest, DestroyingTheFrameWithRowsLeavesTheIssuesAlone)
{
    FillThreeRows();
    HWND list = view->GetSafeHwnd();
    const long liveBefore = RefCounted::LiveObjects();
    results.Destroy();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(results.View(), nullptr);
    EXPECT_EQ(RefCounted::LiveObjects(), liveBefore);

    // Made anew, the list starts empty.
    ASSERT_TRUE(results.Create(window.GetSafeHwnd(), &mainWindow));
    ASSERT_NE(results.View(), nullptr);
    EXPECT_EQ(results.View()->RowCount(), 0);
}
