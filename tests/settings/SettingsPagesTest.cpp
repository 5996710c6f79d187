// The five pages on their own, each in a plain host window: what they show for stored values (good, malformed and
// absent), how their controls react, and what they put back when they close.
#include "engine/IgnoreList.h"
#include "framework/ListView.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "settings/SettingsPage.h"
#include "tests/settings/SettingsTesting.h"
#include "tests/support/WindowTesting.h"
#include "ui/DriveTreeView.h"

#include <gtest/gtest.h>

namespace {

class SettingsPagesTest : public testing::Test {
protected:
    CSettingsPage& Open(int index)
    {
        page = CreateSettingsPage(index, settings, host);
        EXPECT_NE(page, nullptr);
        ShowWindow(page->GetSafeHwnd(), SW_SHOW);
        PumpFor();
        return *page;
    }
    HWND Item(UINT id) const { return GetDlgItem(page->GetSafeHwnd(), static_cast<int>(id)); }
    bool Checked(UINT id) const { return IsDlgButtonChecked(page->GetSafeHwnd(), static_cast<int>(id)) == BST_CHECKED; }
    bool Enabled(UINT id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    std::string Text(UINT id) const { return WindowText(Item(id)); }
    // Clicks a button as the user does: the page hears of it the same way.
    void Click(UINT id) const
    {
        SendMessageA(Item(id), BM_CLICK, 0, 0);
        PumpFor();
    }
    CDriveTreeView& Tree() const
    {
        return *dynamic_cast<CDriveTreeView*>(CWnd::FromHandle(Item(IDC_GENERAL_DRIVE_TREE)));
    }
    int Interval() const { return static_cast<int>(SendMessageA(Item(IDC_UPDATE_INTERVAL), CB_GETCURSEL, 0, 0)); }
    void Close()
    {
        page->Close();
        EXPECT_FALSE(page->IsWindow());
    }

    HostWindow host;
    Settings settings;
    std::unique_ptr<CSettingsPage> page;
};

// The top-level dialog window owned by owner, or null.
HWND OwnedDialog(HWND owner)
{
    return FindTopLevel([&](HWND window) { return GetWindow(window, GW_OWNER) == owner && ClassOf(window) == "#32770"; });
}

std::string FirstFixedDrive()
{
    return std::string(1, ListFixedDrives().at(0).letter) + ":\\;";
}

}  // namespace

TEST_F(SettingsPagesTest, GeneralShowsStoredOptionsAndStoresWhatChanged)
{
    settings = {{"ScanFolders", "1"},
                {"ScanWindowsRegistry", "0"},
                {"KeepDeletedFiles", " 1"},
                {"KeepDeletedFilesPathName", "C:\\Keep \"old\" files"},
                {"ScanDrives", FirstFixedDrive()},
                {"SomethingElse", "kept"}};
    Open(0);
    EXPECT_TRUE(Checked(IDC_GENERAL_SCAN_DRIVES));
    EXPECT_TRUE(Enabled(IDC_GENERAL_DRIVE_TREE));
    EXPECT_FALSE(Checked(IDC_GENERAL_SCAN_REGISTRY));
    EXPECT_TRUE(Checked(IDC_GENERAL_KEEP_DELETED)) << "atoi reads \" 1\" as 1";
    EXPECT_TRUE(Enabled(IDC_GENERAL_DELETED_PATH));
    EXPECT_TRUE(Enabled(IDC_GENERAL_BROWSE));
    EXPECT_EQ(Text(IDC_GENERAL_DELETED_PATH), "C:\\Keep \"old\" files");
    EXPECT_EQ(Tree().GetStateImage(Tree().DriveItems().at(0)), CDriveTreeView::kTicked);
    EXPECT_EQ(Tree().CollectScanDrives(), FirstFixedDrive());

    Click(IDC_GENERAL_SCAN_REGISTRY);
    Click(IDC_GENERAL_SCAN_DRIVES);
    EXPECT_FALSE(Enabled(IDC_GENERAL_DRIVE_TREE));
    Click(IDC_GENERAL_KEEP_DELETED);
    EXPECT_FALSE(Enabled(IDC_GENERAL_DELETED_PATH));
    EXPECT_FALSE(Enabled(IDC_GENERAL_BROWSE));
    SetWindowTextA(Item(IDC_GENERAL_DELETED_PATH), "Recycle Bin");
    Close();
    const Settings expected = {{"ScanFolders", "0"},
                               {"ScanWindowsRegistry", "1"},
                               {"KeepDeletedFiles", "0"},
                               {"KeepDeletedFilesPathName", "Recycle Bin"},
                               {"ScanDrives", FirstFixedDrive()},
                               {"SomethingElse", "kept"}};
    EXPECT_EQ(settings, expected);
}

TEST_F(SettingsPagesTest, GeneralWithoutStoredOptionsShowsEverythingOffAndStoresItsFiveValues)
{
    Open(0);
    for (UINT id : {IDC_GENERAL_SCAN_DRIVES, IDC_GENERAL_SCAN_REGISTRY, IDC_GENERAL_KEEP_DELETED}) {
        EXPECT_FALSE(Checked(id)) << id;
    }
    for (UINT id : {IDC_GENERAL_DRIVE_TREE, IDC_GENERAL_DELETED_PATH, IDC_GENERAL_BROWSE}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_EQ(Tree().GetStateImage(Tree().RootItem()), CDriveTreeView::kUnticked);
    Close();
    const Settings expected = {{"ScanFolders", "0"},
                               {"ScanWindowsRegistry", "0"},
                               {"KeepDeletedFiles", "0"},
                               {"KeepDeletedFilesPathName", ""},
                               {"ScanDrives", ""}};
    EXPECT_EQ(settings, expected);
}

TEST_F(SettingsPagesTest, GeneralTicksTheCategoriesScannedAndStoresTheOthersAsTags)
{
    settings = {{LeftOutCategoriesName, "FONT;run;unknown"}};
    Open(0);
    const CListCtrl list(Item(IDC_GENERAL_CATEGORIES));
    ASSERT_EQ(list.GetItemCount(), CategoryCount);
    for (int i = 0; i < CategoryCount; ++i) {
        EXPECT_EQ(list.GetItemText(i, 0), Categories()[static_cast<size_t>(i)].name);
        const bool off = i == static_cast<int>(Category::FontFiles) || i == static_cast<int>(Category::StartupProgram);
        EXPECT_EQ(list.GetCheck(i), !off) << i;
    }
    list.SetCheck(static_cast<int>(Category::FontFiles), true);
    list.SetCheck(static_cast<int>(Category::Shortcut), false);
    Close();
    EXPECT_EQ(settings[LeftOutCategoriesName], "run;shortcut");
}

TEST_F(SettingsPagesTest, IgnoreListShowsEveryReadableEntryAndRemovesTheSelectedAtOnce)
{
    const SettingsKeyKeeper keeper;
    IgnoreList ignored = IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath());
    const IgnoredEntry kept{"Shortcut", "", "C:\\Links\\a.lnk"};
    const IgnoredEntry removed{"Startup program", "", "HKEY_CURRENT_USER\\Run\\x"};
    ASSERT_TRUE(ignored.Add(kept) && ignored.Add(removed));
    WriteText(HKEY_LOCAL_MACHINE, IgnoreListKeyPath(), "edited by hand", "not an entry");
    Open(3);
    const CListCtrl list(Item(IDC_IGNORE_LIST));
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_FALSE(Enabled(IDC_IGNORE_REMOVE));
    const int row = list.GetItemText(0, 1) == removed.target ? 0 : 1;
    EXPECT_EQ(list.GetItemText(row, 0), "Startup program");
    list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    PumpFor();
    EXPECT_TRUE(Enabled(IDC_IGNORE_REMOVE));
    Click(IDC_IGNORE_REMOVE);
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemText(0, 1), kept.target);
    EXPECT_EQ(IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath()).Entries(), std::vector<IgnoredEntry>{kept});
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, IgnoreListKeyPath(), "edited by hand"));
}

TEST_F(SettingsPagesTest, MalformedFlagsShowOffAndAreStoredAsPlainFlags)
{
    const std::string veryLong(16000, '7');
    settings = {{"ScanFolders", "2"},       {"ScanWindowsRegistry", "yes"}, {"KeepDeletedFiles", ""},
                {"ScanDrives", "c:\\;zz"}, {"KeepDeletedFilesPathName", veryLong}};
    Open(0);
    EXPECT_FALSE(Checked(IDC_GENERAL_SCAN_DRIVES));
    EXPECT_FALSE(Checked(IDC_GENERAL_SCAN_REGISTRY));
    EXPECT_FALSE(Checked(IDC_GENERAL_KEEP_DELETED));
    EXPECT_EQ(Text(IDC_GENERAL_DELETED_PATH), veryLong) << "a long stored path is shown whole";
    Close();
    EXPECT_EQ(settings["ScanFolders"], "0");
    EXPECT_EQ(settings["ScanWindowsRegistry"], "0");
    EXPECT_EQ(settings["KeepDeletedFiles"], "0");
    EXPECT_EQ(settings["ScanDrives"], "");
    EXPECT_EQ(settings["KeepDeletedFilesPathName"], veryLong);
}

TEST_F(SettingsPagesTest, PathFieldsTakeNoMoreThanTheLoaderReadsBack)
{
    for (const auto& [index, field] : {std::pair{0, IDC_GENERAL_DELETED_PATH}, std::pair{1, IDC_LOG_PATH}}) {
        Open(index);
        EnableWindow(Item(field), TRUE);
        const std::string pasted(20000, 'p');
        SendMessageA(Item(field), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
        EXPECT_EQ(Text(field).size(), 16383u) << index;
        Close();
    }
}

TEST_F(SettingsPagesTest, AdvancedShowsStoredOptionsAndStoresWhatChanged)
{
    settings = {{"KeepHistory", "1"},
                {"KeepHistoryPathName", "D:\\Logs"},
                {"BeepAfterLTO", "1"},
                {"MBAfterLTO", "0"},
                {"ScheduleOnReboot", "abc"}};
    Open(1);
    EXPECT_EQ(Text(IDC_LOG_SCHEDULE_REBOOT), "Schedule Corvadin start on reboot");
    EXPECT_TRUE(Checked(IDC_LOG_KEEP_HISTORY));
    EXPECT_TRUE(Enabled(IDC_LOG_PATH));
    EXPECT_TRUE(Enabled(IDC_LOG_BROWSE));
    EXPECT_EQ(Text(IDC_LOG_PATH), "D:\\Logs");
    EXPECT_TRUE(Checked(IDC_LOG_BEEP));
    EXPECT_FALSE(Checked(IDC_LOG_MESSAGE));
    EXPECT_FALSE(Checked(IDC_LOG_SCHEDULE_REBOOT));

    Click(IDC_LOG_KEEP_HISTORY);
    EXPECT_FALSE(Enabled(IDC_LOG_PATH));
    EXPECT_FALSE(Enabled(IDC_LOG_BROWSE));
    Click(IDC_LOG_BEEP);
    Click(IDC_LOG_MESSAGE);
    Click(IDC_LOG_SCHEDULE_REBOOT);
    Close();
    const Settings expected = {{"KeepHistory", "0"},
                               {"KeepHistoryPathName", "D:\\Logs"},
                               {"BeepAfterLTO", "0"},
                               {"MBAfterLTO", "1"},
                               {"ScheduleOnReboot", "1"}};
    EXPECT_EQ(settings, expected);
}

TEST_F(SettingsPagesTest, AdvancedWithoutKeepHistoryHasItsPathDisabled)
{
    Open(1);
    EXPECT_FALSE(Checked(IDC_LOG_KEEP_HISTORY));
    EXPECT_FALSE(Enabled(IDC_LOG_PATH));
    EXPECT_FALSE(Enabled(IDC_LOG_BROWSE));
    Click(IDC_LOG_KEEP_HISTORY);
    EXPECT_TRUE(Enabled(IDC_LOG_PATH));
    EXPECT_TRUE(Enabled(IDC_LOG_BROWSE));
}

TEST_F(SettingsPagesTest, IntervalListShowsStoredHoursWithDailyForAnythingElse)
{
    const std::pair<const char*, int> cases[] = {
        {nullptr, 0}, {"", 0},     {"0", 0},   {"24", 1},   {"168", 2},  {"5040", 3},
        {"720", 1},   {"abc", 1},  {"-5", 1},  {" 168", 2}, {"168h", 2}, {"99999999999999999999", 1},
    };
    for (const auto& [stored, entry] : cases) {
        settings.clear();
        if (stored) {
            settings["AutoupdateChecks"] = stored;
        }
        Open(2);
        EXPECT_EQ(Interval(), entry) << (stored ? stored : "<absent>");
        Close();
        const char* hours[] = {"0", "24", "168", "5040"};
        EXPECT_EQ(settings["AutoupdateChecks"], hours[entry]) << (stored ? stored : "<absent>");
    }
}

TEST_F(SettingsPagesTest, AutoUpdateRadioButtonsDriveTheIntervalList)
{
    settings = {{"AutoupdateManually", "1"}, {"AutoupdateChecks", "5040"}, {"AutoupdateConfirmation", "1"}};
    Open(2);
    EXPECT_TRUE(Checked(IDC_UPDATE_MANUALLY));
    EXPECT_FALSE(Checked(IDC_UPDATE_AUTOMATICALLY));
    EXPECT_FALSE(Enabled(IDC_UPDATE_INTERVAL));
    EXPECT_EQ(Interval(), 3) << "a disabled list keeps its selection";
    EXPECT_TRUE(Checked(IDC_UPDATE_CONFIRM));
    ASSERT_EQ(SendMessageA(Item(IDC_UPDATE_INTERVAL), CB_GETCOUNT, 0, 0), 4);
    char entry[64] = "";
    SendMessageA(Item(IDC_UPDATE_INTERVAL), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, "Every program start");
    Close();
    EXPECT_EQ(settings["AutoupdateManually"], "1");
    EXPECT_EQ(settings["AutoupdateChecks"], "5040");

    Open(2);
    Click(IDC_UPDATE_AUTOMATICALLY);
    EXPECT_TRUE(Enabled(IDC_UPDATE_INTERVAL));
    SendMessageA(Item(IDC_UPDATE_INTERVAL), CB_SETCURSEL, 2, 0);
    Click(IDC_UPDATE_CONFIRM);
    Close();
    const Settings expected = {
        {"AutoupdateManually", "0"}, {"AutoupdateChecks", "168"}, {"AutoupdateConfirmation", "0"}};
    EXPECT_EQ(settings, expected);

    Open(2);
    Click(IDC_UPDATE_MANUALLY);
    EXPECT_FALSE(Enabled(IDC_UPDATE_INTERVAL));
}

TEST_F(SettingsPagesTest, AboutShowsTheProductAndStoresNothing)
{
    settings = {{"KeepHistory", "2"}};
    Open(4);
    EXPECT_FALSE(IsWindowEnabled(page->GetSafeHwnd())) << "the About page takes no input";
    EXPECT_EQ(Text(IDC_ABOUT_TITLE), "Quenmark\xAE Corvadin v3.3.0");
    Close();
    EXPECT_EQ(settings, (Settings{{"KeepHistory", "2"}}));
    EXPECT_STREQ(SettingsPageName(-1), "About");
    EXPECT_STREQ(SettingsPageName(2), "Auto-Update");
}

TEST_F(SettingsPagesTest, EnterAndEscapeInsideAPageGoToTheSettingsDialog)
{
    Open(1);
    PostMessageA(Item(IDC_LOG_BEEP), WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
    PostMessageA(Item(IDC_LOG_BEEP), WM_KEYDOWN, VK_ESCAPE, 0);
    PumpFor(50);
    EXPECT_EQ(host.commands, (std::vector<UINT>{IDOK, IDCANCEL}));
    EXPECT_TRUE(IsWindowVisible(page->GetSafeHwnd())) << "the page itself does not end";
}

TEST_F(SettingsPagesTest, CancelledFolderBrowserLeavesThePathAsItWas)
{
    settings = {{"KeepHistory", "1"}, {"KeepHistoryPathName", "C:\\windows"}};
    Open(1);
    HWND browser = nullptr;
    std::thread driver([&] {
        WaitUntil([&] { return (browser = OwnedDialog(host.GetSafeHwnd())) != nullptr; });
        if (browser) {
            PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        }
    });
    SendMessageA(Item(IDC_LOG_BROWSE), BM_CLICK, 0, 0);
    driver.join();
    EXPECT_NE(browser, nullptr);
    EXPECT_EQ(Text(IDC_LOG_PATH), "C:\\windows");
}

TEST_F(SettingsPagesTest, FolderBrowserOpensOnTheFieldsFolderAndPutsTheChoiceBack)
{
    char longPath[MAX_PATH] = "";
    GetWindowsDirectoryA(longPath, MAX_PATH);
    settings = {{"KeepDeletedFiles", "1"}, {"KeepDeletedFilesPathName", longPath}};
    Open(0);
    std::string title;
    std::thread driver([&] {
        HWND browser = nullptr;
        WaitUntil([&] { return (browser = OwnedDialog(host.GetSafeHwnd())) != nullptr; });
        if (browser) {
            Sleep(300);
            PostMessageA(browser, WM_COMMAND, IDOK, 0);
        }
    });
    SendMessageA(Item(IDC_GENERAL_BROWSE), BM_CLICK, 0, 0);
    driver.join();
    EXPECT_STRCASEEQ(Text(IDC_GENERAL_DELETED_PATH).c_str(), longPath);
}
