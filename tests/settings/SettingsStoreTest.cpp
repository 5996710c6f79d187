#include "settings/SettingsStore.h"
#include "settings/StartTask.h"
#include "settings/StartupOptions.h"
#include "tests/settings/SettingsTesting.h"
#include "tests/support/Files.h"
#include "tests/support/LogCapture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr const char* RunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Every test starts without a settings key; the keeper puts the settings and the RunOnce entry back after it.
class SettingsStoreTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunPath, "Corvadin");
        (void)RemoveStartTask(LogonScanTask());
        (void)RemoveStartTask(RebootScanTask());
    }

    SettingsKeyKeeper keeper;
};

}  // namespace

TEST_F(SettingsStoreTest, LocationTexts)
{
    EXPECT_EQ(SettingsKeyPath(), kSettingsKey);
    EXPECT_EQ(ProgramFolder(), "C:\\Program Files\\Corvadin\\");
    EXPECT_EQ(HelpPageAddress(152), SiteAddress() + "/help/context.html");
    EXPECT_EQ(HelpPageAddress(149), SiteAddress() + "/help/option_general.html");
    EXPECT_EQ(HelpPageAddress(7), "");

    InitSettingsLocation("Corvadin.exe");
    EXPECT_EQ(ProgramFolder(), "Corvadin.exe");
    InitSettingsLocation("\\Corvadin.exe");
    EXPECT_EQ(ProgramFolder(), "\\Corvadin.exe");
}

TEST_F(SettingsStoreTest, SaveThenLoadRoundTripsEveryText)
{
    Settings saved{{"ScanDrives", "C:\\;D:\\;"}, {"KeepHistoryPathName", "C:\\Logs \"old\""},
                   {"AutoupdateChecks", "720"}, {"Empty", ""}, {"Long", std::string(10000, 'x')}};
    SaveSettings(saved);
    Settings loaded;
    LoadSettings(loaded);
    EXPECT_EQ(loaded, saved);
}

TEST_F(SettingsStoreTest, LoadSkipsNonTextAndCutsAtTheFirstZero)
{
    const DWORD one = 1;
    WriteValue(HKEY_LOCAL_MACHINE, kSettingsKey, "KeepHistory", REG_DWORD, &one, sizeof one);
    WriteValue(HKEY_LOCAL_MACHINE, kSettingsKey, "Inner", REG_SZ, "ab\0cd", 6);
    WriteValue(HKEY_LOCAL_MACHINE, kSettingsKey, "Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    Settings loaded;
    LoadSettings(loaded);
    EXPECT_EQ(loaded, (Settings{{"Inner", "ab"}, {"Expand", "%TEMP%"}}));
}

TEST_F(SettingsStoreTest, AMissingKeyLeavesTheMapAndGivesDefaults)
{
    Settings loaded{{"kept", "1"}};
    LoadSettings(loaded);
    EXPECT_EQ(loaded, (Settings{{"kept", "1"}}));
    EXPECT_EQ(ReadSettingString("ScanFolders", "dflt"), "dflt");
    EXPECT_TRUE(ReadSettingFlag("ScanFolders", true));
    EXPECT_FALSE(ReadSettingFlag("ScanFolders", false));
}

TEST_F(SettingsStoreTest, FlagsReadAsTheirLeadingNumber)
{
    EXPECT_TRUE(IsFlagOn("1"));
    EXPECT_TRUE(IsFlagOn(" 1x"));
    EXPECT_FALSE(IsFlagOn("2"));
    EXPECT_FALSE(IsFlagOn("yes"));
    EXPECT_FALSE(IsFlagOn(""));

    WriteSettingString("BeepAfterLTO", "2");
    EXPECT_TRUE(ReadSettingFlag("BeepAfterLTO", false));
    const DWORD number = 1;
    WriteValue(HKEY_LOCAL_MACHINE, kSettingsKey, "Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(ReadSettingString("Number", "d"), "d");
}

TEST_F(SettingsStoreTest, TheRebootScheduleWritesAndRemovesItsRunOnceEntry)
{
    WriteValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Other", REG_SZ, "x", 2);
    WriteSettingString("ScheduleOnReboot", "1");
    ApplyRebootSchedule();
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, kRunOnceKey, "Fenwarder"), ProgramCommandLine(ModulePath(), "/scannow"));
    EXPECT_TRUE(StartTaskExists(RebootScanTask())) << "what starts it where User Account Control is on";

    WriteSettingString("ScheduleOnReboot", "0");
    ApplyRebootSchedule();
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, kRunOnceKey, "Fenwarder"), "<absent>");
    EXPECT_FALSE(StartTaskExists(RebootScanTask()));
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, kRunOnceKey, "Other"), "x");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunOnceKey, "Other");
}

TEST_F(SettingsStoreTest, ProgramPathsWithBlanksAreQuoted)
{
    EXPECT_EQ(ProgramCommandLine("C:\\Program Files\\Corvadin\\Corvadin.exe", "/scanstartup"),
              "\"C:\\Program Files\\Corvadin\\Corvadin.exe\" /scanstartup");
    EXPECT_EQ(ProgramCommandLine("C:\\Corvadin\\Corvadin.exe", "/scannow"), "C:\\Corvadin\\Corvadin.exe /scannow");
    EXPECT_EQ(ProgramCommandLine("", "/scannow"), " /scannow");
}

TEST_F(SettingsStoreTest, SwitchesAreCaseSensitiveSubstrings)
{
    EXPECT_TRUE(HasSwitch("x.exe /scannow", "/scannow"));
    EXPECT_TRUE(HasSwitch("x.exe a/scannowb", "/scannow"));
    EXPECT_FALSE(HasSwitch("x.exe /SCANNOW", "/scannow"));

    ReadStartupFlags("Corvadin.exe /scannow /scanstartup");
    EXPECT_TRUE(TheStartupFlags().exitOnClose);
    EXPECT_TRUE(TheStartupFlags().startupScan);
    EXPECT_TRUE(TheStartupFlags().startHidden);
    ReadStartupFlags("Corvadin.exe");
    EXPECT_FALSE(TheStartupFlags().exitOnClose);
    EXPECT_FALSE(TheStartupFlags().startupScan);
}

TEST_F(SettingsStoreTest, TheRunEntryAndTheLogonTaskFollowWhatWasWritten)
{
    EXPECT_TRUE(SetLaunchAtStartup(true));
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, RunPath, "Corvadin"), ProgramCommandLine(ModulePath(), "/scanstartup"));
    EXPECT_TRUE(StartTaskExists(LogonScanTask()));
    EXPECT_TRUE(ReadLaunchAtStartup());
    EXPECT_FALSE(SetLaunchAtStartup(false));
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, RunPath, "Corvadin"), "<absent>");
    EXPECT_FALSE(StartTaskExists(LogonScanTask()));

    // An old unquoted entry still counts, beside the task; one of another type does not, nor one without the task.
    const char old[] = "C:\\Old Place\\Corvadin.exe /scanstartup";
    WriteValue(HKEY_LOCAL_MACHINE, RunPath, "Corvadin", REG_SZ, old, sizeof old);
    EXPECT_FALSE(ReadLaunchAtStartup()) << "under User Account Control the value alone starts nothing";
    ASSERT_TRUE(CreateStartTask(LogonScanTask(), ModulePath()).done);
    EXPECT_TRUE(ReadLaunchAtStartup());
    const DWORD number = 1;
    WriteValue(HKEY_LOCAL_MACHINE, RunPath, "Corvadin", REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(ReadLaunchAtStartup());

    // Wine's Task Scheduler parses the definition and keeps the registration, though not its trigger or action.
    const TaskOutcome created = CreateStartTask(LogonScanTask(), "C:\\Tools & 'Co' <\"x\">\\Corvadin.exe");
    EXPECT_TRUE(created.done) << created.reason;
    EXPECT_TRUE(RemoveStartTask(LogonScanTask()).done);
    EXPECT_FALSE(StartTaskExists(LogonScanTask()));
    EXPECT_TRUE(RemoveStartTask(LogonScanTask()).done) << "an absent task counts as removed";
}

TEST_F(SettingsStoreTest, WhereNoTaskCanBeCreatedTheRunEntryGoesTooAndTheLogSaysWhy)
{
    const LogCapture log((std::filesystem::temp_directory_path() / "corvadin-tasks.log").string());
    // A folder where the Task Scheduler keeps the task's file: it cannot store the task.
    BOOL wow64 = FALSE;
    const char* system = IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? "Sysnative" : "System32";
    const std::filesystem::path blocker =
        std::filesystem::path(WindowsFolder()) / system / "Tasks" / LogonScanTask().name;
    ASSERT_TRUE(std::filesystem::create_directories(blocker));
    EXPECT_FALSE(SetLaunchAtStartup(true));
    std::filesystem::remove(blocker);
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, RunPath, "Corvadin"), "<absent>");
    const std::vector<std::string> lines = log.Lines();
    EXPECT_TRUE(!lines.empty() && lines.back().find("\"Corvadin log-on scan\" could not be") != std::string::npos);
}
