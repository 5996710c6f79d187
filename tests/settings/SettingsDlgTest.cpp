// The settings dialog run modally, as the main window runs it, and driven from a second thread: the registry
// before and after, the two validation messages, Enter, Escape and Cancel, the page list and the reboot schedule.
#include "settings/SettingsDlg.h"

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"
#include "tests/settings/SettingsTesting.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "ui/DriveTreeView.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr const char* kCaption = "Corvadin settings";
constexpr const char* kLogMessage =
    "You must specify correct location for program log files. If you don't need program log to maintain, make sure "
    "switching off this option.";
constexpr const char* kDeletedMessage =
    "You must specify correct location for deleted files. If you don't need to keep those files, make sure "
    "switching off this option.";

using Stored = std::map<std::string, std::string>;

// Every value of the settings key; a value that is not REG_SZ shows as "<type N>".
Stored ReadStored()
{
    Stored stored;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return stored;
    }
    char name[1024];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        stored[name] = SettingsKeyKeeper::Value(kSettingsKey, name);
    }
    RegCloseKey(key);
    return stored;
}

void PlantAll(const Stored& values)
{
    for (const auto& [name, text] : values) {
        SettingsKeyKeeper::Plant(kSettingsKey, name.c_str(), text);
    }
}

// What the driving thread sees of the running dialog; every call goes to the dialog's thread as messages do.
class DialogDriver {
public:
    explicit DialogDriver(HWND dialog) : dialog_(dialog) {}

    bool Found() const { return dialog_ != nullptr; }
    bool Open() const { return IsWindow(dialog_) && IsWindowVisible(dialog_); }
    HWND List() const { return GetDlgItem(dialog_, IDC_PAGE_LIST); }
    std::string Title() const { return WindowText(GetDlgItem(dialog_, IDC_PAGE_TITLE)); }
    // The page on show: the dialog's visible child dialog.
    HWND Page() const
    {
        for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) == "#32770" && IsWindowVisible(child)) {
                return child;
            }
        }
        return nullptr;
    }
    HWND PageItem(UINT id) const { return GetDlgItem(Page(), static_cast<int>(id)); }
    int Selected() const { return static_cast<int>(SendMessageA(List(), LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }

    // Selects the entry and clicks the list, as the mouse would; true once the page's title shows.
    bool ShowPage(int index) const
    {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = state.stateMask;
        SendMessageA(List(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
        NMHDR click{List(), IDC_PAGE_LIST, static_cast<UINT>(NM_CLICK)};
        SendMessageA(dialog_, WM_NOTIFY, IDC_PAGE_LIST, reinterpret_cast<LPARAM>(&click));
        return WaitUntil([&] { return Title() == SettingsPageName(index) && Page(); }, 2000);
    }
    void Click(UINT id) const { SendMessageA(PageItem(id), BM_CLICK, 0, 0); }
    void Command(UINT id) const { PostMessageA(dialog_, WM_COMMAND, id, 0); }
    void Key(HWND target, WORD key) const { PostMessageA(target, WM_KEYDOWN, key, 0); }
    bool WaitClosed(DWORD milliseconds = 3000) const
    {
        return WaitUntil([&] { return !IsWindow(dialog_); }, milliseconds);
    }

    // The text of the error message that appears within the time, after dismissing it; empty when none came.
    std::string TakeError(DWORD milliseconds = 2000) const
    {
        const HWND box = WaitForDialog("Error", milliseconds);
        if (!box) {
            return {};
        }
        const std::string text = MessageText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(box); });
        return text;
    }

private:
    HWND dialog_;
};

// Runs a settings dialog, made as the main window makes it, with script driving it; returns the dialog's result.
INT_PTR RunSettings(const std::function<void(const DialogDriver&)>& script)
{
    CSettingsDlg dialog;
    INT_PTR result = -2;
    RunDriven([&] { result = dialog.DoModal(); }, [&] { script(DialogDriver(WaitForDialog(kCaption))); }, kCaption);
    return result;
}

class SettingsDlgTest : public testing::Test {
protected:
    SettingsKeyKeeper keeper;
};

}  // namespace

TEST_F(SettingsDlgTest, ConfirmingAtOnceWritesTheGeneralPageAndRemovesTheScheduledStart)
{
    SettingsKeyKeeper::Plant(kRunOnceKey, "Fenwarder", "C:\\old.exe /scannow");
    std::string title;
    int entries = 0;
    int selected = -2;
    const INT_PTR result = RunSettings([&](const DialogDriver& dialog) {
        ASSERT_TRUE(dialog.Found());
        title = dialog.Title();
        entries = static_cast<int>(SendMessageA(dialog.List(), LVM_GETITEMCOUNT, 0, 0));
        selected = dialog.Selected();
        dialog.Command(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(title, "General");
    EXPECT_EQ(entries, 5);
    EXPECT_EQ(selected, 0);
    const Stored expected = {{"KeepDeletedFiles", "0"},
                             {"KeepDeletedFilesPathName", ""},
                             {"ScanDrives", ""},
                             {"ScanFolders", "0"},
                             {"ScanWindowsRegistry", "0"}};
    EXPECT_EQ(ReadStored(), expected);
    EXPECT_EQ(SettingsKeyKeeper::Value(kRunOnceKey, "Fenwarder"), SettingsKeyKeeper::kAbsent);
}

TEST_F(SettingsDlgTest, EveryOptionRoundTripsAndUnknownValuesAreKept)
{
    const std::string drive = std::string(1, ListFixedDrives().at(0).letter) + ":\\;";
    const Stored planted = {{"ScanFolders", "1"},
                            {"ScanDrives", drive},
                            {"ScanWindowsRegistry", "0"},
                            {"KeepDeletedFiles", "1"},
                            {"KeepDeletedFilesPathName", "recycle BIN"},
                            {"KeepHistory", "1"},
                            {"KeepHistoryPathName", WindowsFolder()},
                            {"BeepAfterLTO", "0"},
                            {"MBAfterLTO", "1"},
                            {"ScheduleOnReboot", "0"},
                            {"AutoupdateManually", "1"},
                            {"AutoupdateChecks", "720"},
                            {"AutoupdateConfirmation", "1"},
                            {"Unknown", "kept \"as is\""}};
    PlantAll(planted);
    SettingsKeyKeeper::Plant(kSettingsKey, "Expandable", "%TEMP%\\x", REG_EXPAND_SZ);
    bool switched = true;
    RunSettings([&](const DialogDriver& dialog) {
        dialog.Click(IDC_GENERAL_SCAN_REGISTRY);
        switched = dialog.ShowPage(1);
        dialog.Click(IDC_LOG_BEEP);
        dialog.Click(IDC_LOG_MESSAGE);
        switched = switched && dialog.ShowPage(2);
        dialog.Click(IDC_UPDATE_AUTOMATICALLY);
        SendMessageA(dialog.PageItem(IDC_UPDATE_INTERVAL), CB_SETCURSEL, 2, 0);
        dialog.Click(IDC_UPDATE_CONFIRM);
        switched = switched && dialog.ShowPage(3) && dialog.ShowPage(0);
        dialog.Click(IDC_GENERAL_SCAN_DRIVES);
        dialog.Command(IDOK);
    });
    EXPECT_TRUE(switched);
    Stored expected = planted;
    expected["ScanWindowsRegistry"] = "1";
    expected["ScanFolders"] = "0";
    expected["BeepAfterLTO"] = "1";
    expected["MBAfterLTO"] = "0";
    expected["AutoupdateManually"] = "0";
    expected["AutoupdateChecks"] = "168";
    expected["AutoupdateConfirmation"] = "0";
    expected["Expandable"] = "%TEMP%\\x";
    EXPECT_EQ(ReadStored(), expected);
}

TEST_F(SettingsDlgTest, PagesNeverShownWriteBackWhatWasStored)
{
    const Stored planted = {{"AutoupdateChecks", "720"}, {"BeepAfterLTO", "2"}, {"ScanFolders", "2"}};
    PlantAll(planted);
    RunSettings([](const DialogDriver& dialog) { dialog.Command(IDOK); });
    const Stored stored = ReadStored();
    EXPECT_EQ(stored.at("AutoupdateChecks"), "720");
    EXPECT_EQ(stored.at("BeepAfterLTO"), "2");
    EXPECT_EQ(stored.at("ScanFolders"), "0") << "the General page was shown";
}

TEST_F(SettingsDlgTest, ANumberWhereTextBelongsIsReplacedOnceItsPageWasShown)
{
    const DWORD on = 1;
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKey, "KeepHistory", REG_DWORD, &on, sizeof on);
    RunSettings([](const DialogDriver& dialog) { dialog.Command(IDOK); });
    EXPECT_EQ(SettingsKeyKeeper::Value(kSettingsKey, "KeepHistory"), "<type 4>") << "its page was never shown";
    bool unchecked = false;
    RunSettings([&](const DialogDriver& dialog) {
        dialog.ShowPage(1);
        unchecked = SendMessageA(dialog.PageItem(IDC_LOG_KEEP_HISTORY), BM_GETCHECK, 0, 0) == BST_UNCHECKED;
        dialog.Command(IDOK);
    });
    EXPECT_TRUE(unchecked) << "a number is no stored text, so the option shows off";
    EXPECT_EQ(SettingsKeyKeeper::Value(kSettingsKey, "KeepHistory"), "0");
}

TEST_F(SettingsDlgTest, CancelEscapeAndTheCloseBoxWriteNothing)
{
    const Stored planted = {{"KeepHistory", "0"}, {"BeepAfterLTO", "1"}, {"AutoupdateChecks", "abc"}};
    PlantAll(planted);
    for (int way = 0; way < 3; ++way) {
        const INT_PTR result = RunSettings([&](const DialogDriver& dialog) {
            dialog.Click(IDC_GENERAL_SCAN_DRIVES);
            dialog.ShowPage(1);
            dialog.Click(IDC_LOG_BEEP);
            dialog.ShowPage(2);
            dialog.Click(IDC_UPDATE_MANUALLY);
            if (way == 0) {
                dialog.Command(IDCANCEL);
            } else if (way == 1) {
                dialog.Key(dialog.PageItem(IDC_UPDATE_CONFIRM), VK_ESCAPE);
            } else {
                SendMessageA(GetParent(dialog.Page()), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            EXPECT_TRUE(dialog.WaitClosed()) << way;
        });
        EXPECT_EQ(result, IDCANCEL) << way;
        EXPECT_EQ(ReadStored(), planted) << way;
    }
}

TEST_F(SettingsDlgTest, ValidationMessagesAppearForTheInputsThatShouldRaiseThem)
{
    const ScratchFolder folder("settings-check");
    const std::string file = folder.AddFile("notes.txt");
    struct Case {
        const char* keepHistory;
        std::string historyPath;
        const char* keepDeleted;
        std::string deletedPath;
        const char* message;
    };
    const Case cases[] = {
        {"1", "", "0", "", kLogMessage},
        {"1", file, "0", "", kLogMessage},
        {"1", folder.Path() + "\\missing", "0", "", kLogMessage},
        {"1", "", "1", "", kLogMessage},
        {"1", folder.Path(), "1", "", kDeletedMessage},
        {"0", "", "1", file, kDeletedMessage},
        {"0", "", "1", "recycle bin\\", kDeletedMessage},
        {"1", folder.Path(), "1", "ReCycle BIN", ""},
        {"1", folder.Path() + "\\", "1", WindowsFolder(), ""},
        {"2", "", "yes", "", ""},
        {"0", "", "0", "nowhere", ""},
    };
    for (const Case& c : cases) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
        const Stored planted = {{"KeepHistory", c.keepHistory},
                                {"KeepHistoryPathName", c.historyPath},
                                {"KeepDeletedFiles", c.keepDeleted},
                                {"KeepDeletedFilesPathName", c.deletedPath}};
        PlantAll(planted);
        std::string shown;
        std::string titleAfter;
        bool openAfter = false;
        const INT_PTR result = RunSettings([&](const DialogDriver& dialog) {
            dialog.ShowPage(2);
            dialog.Command(IDOK);
            shown = dialog.TakeError(*c.message ? 3000 : 500);
            if (!shown.empty()) {
                openAfter = WaitUntil([&] { return dialog.Open() && dialog.Page(); });
                titleAfter = dialog.Title();
                dialog.Command(IDCANCEL);
            }
        });
        const std::string label = std::string(c.keepHistory) + "|" + c.historyPath + "|" + c.keepDeleted + "|" +
                                  c.deletedPath;
        EXPECT_EQ(shown, c.message) << label;
        if (*c.message) {
            EXPECT_TRUE(openAfter) << label;
            EXPECT_EQ(titleAfter, "Auto-Update") << "the page that was current comes back: " << label;
            EXPECT_EQ(result, IDCANCEL) << label;
            EXPECT_EQ(ReadStored(), planted) << "nothing is written: " << label;
        } else {
            EXPECT_EQ(result, IDOK) << label;
            EXPECT_EQ(ReadStored().at("KeepDeletedFilesPathName"), c.deletedPath) << "stored as entered: " << label;
        }
    }
}

TEST_F(SettingsDlgTest, EnterInsideAPageRunsTheChecksAndTheSaving)
{
    PlantAll({{"KeepHistory", "1"}, {"KeepHistoryPathName", ""}});
    std::string firstEnter;
    std::string titleAfter;
    const INT_PTR result = RunSettings([&](const DialogDriver& dialog) {
        dialog.ShowPage(1);
        const HWND path = dialog.PageItem(IDC_LOG_PATH);
        dialog.Key(path, VK_RETURN);
        firstEnter = dialog.TakeError();
        WaitUntil([&] { return dialog.Page() != nullptr; });
        titleAfter = dialog.Title();
        SendMessageA(dialog.PageItem(IDC_LOG_PATH), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(WindowsFolder().c_str()));
        dialog.Key(dialog.PageItem(IDC_LOG_PATH), VK_RETURN);
        dialog.WaitClosed();
    });
    EXPECT_EQ(firstEnter, kLogMessage) << "Enter runs the checks";
    EXPECT_EQ(titleAfter, "Advanced");
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(SettingsKeyKeeper::Value(kSettingsKey, "KeepHistoryPathName"), WindowsFolder()) << "and saves";
}

TEST_F(SettingsDlgTest, RebootScheduleWritesAndRemovesTheRunOnceEntry)
{
    for (const bool on : {true, false}) {
        RunSettings([](const DialogDriver& dialog) {
            dialog.ShowPage(1);
            dialog.Click(IDC_LOG_SCHEDULE_REBOOT);
            dialog.Command(IDOK);
        });
        EXPECT_EQ(SettingsKeyKeeper::Value(kSettingsKey, "ScheduleOnReboot"), on ? "1" : "0");
        EXPECT_EQ(SettingsKeyKeeper::Value(kRunOnceKey, "Fenwarder"),
                  on ? ProgramCommandLine(ModulePath(), "/scannow") : SettingsKeyKeeper::kAbsent);
    }
}

TEST_F(SettingsDlgTest, PageListSwitchesOnSpaceAndClicksButNotOnArrows)
{
    std::vector<std::string> titles;
    int selectedAfterEmptyClick = 0;
    const INT_PTR result = RunSettings([&](const DialogDriver& dialog) {
        SetForegroundWindow(GetParent(dialog.List()));
        dialog.Key(dialog.List(), VK_DOWN);
        WaitUntil([&] { return dialog.Selected() == 1; });
        Sleep(100);
        titles.push_back(dialog.Title());
        dialog.Key(dialog.List(), VK_SPACE);
        WaitUntil([&] { return dialog.Title() == "Advanced"; });
        titles.push_back(dialog.Title());

        RECT list{};
        GetWindowRect(dialog.List(), &list);
        MoveMouseTo({(list.left + list.right) / 2, list.bottom - 6});
        PressLeftButton(true);
        PressLeftButton(false);
        WaitUntil([&] { return dialog.Title() == "About"; });
        titles.push_back(dialog.Title());
        selectedAfterEmptyClick = dialog.Selected();
        dialog.Command(IDOK);
    });
    EXPECT_EQ(titles, (std::vector<std::string>{"General", "Advanced", "About"}));
    EXPECT_EQ(selectedAfterEmptyClick, -1);
    EXPECT_EQ(result, IDOK) << "OK works with no entry selected";
    EXPECT_EQ(SettingsKeyKeeper::Value(kSettingsKey, "KeepHistory"), "0") << "the Advanced page was shown";
}

TEST_F(SettingsDlgTest, HelpFollowsTheCurrentPage)
{
    EXPECT_EQ(SettingsHelpAddress(0), SiteAddress() + "/help/option_general.html");
    EXPECT_EQ(SettingsHelpAddress(1), SiteAddress() + "/help/option_log.html");
    EXPECT_EQ(SettingsHelpAddress(2), SiteAddress() + "/help/option_update.html");
    EXPECT_EQ(SettingsHelpAddress(3), SiteAddress() + "/help/context.html");
    EXPECT_EQ(SettingsHelpAddress(-1), SiteAddress() + "/help/context.html");
}

TEST_F(SettingsDlgTest, EveryPageOnScreen)
{
    PlantAll({{"ScanFolders", "1"},
              {"ScanDrives", std::string(1, ListFixedDrives().at(0).letter) + ":\\;"},
              {"KeepDeletedFiles", "1"},
              {"KeepDeletedFilesPathName", "Recycle Bin"},
              {"KeepHistory", "1"},
              {"KeepHistoryPathName", WindowsFolder()},
              {"BeepAfterLTO", "1"}});
    std::vector<bool> saved;
    RunSettings([&](const DialogDriver& dialog) {
        for (int index : {0, 1, 2, 3, 4}) {
            dialog.ShowPage(index);
            Sleep(400);
            RECT window{};
            GetWindowRect(GetParent(dialog.List()), &window);
            std::string name = SettingsPageName(index);
            for (char& c : name) {
                c = static_cast<char>(c == '-' ? c : std::tolower(static_cast<unsigned char>(c)));
            }
            saved.push_back(SaveScreen(window, ScreenshotPath("settings-" + name + ".bmp")));
        }
        dialog.Command(IDCANCEL);
    });
    EXPECT_EQ(saved, (std::vector<bool>{true, true, true, true, true}));
}
