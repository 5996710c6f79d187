#include "settings/SettingsStore.h"
#include "settings/StartupOptions.h"
#include "tests/settings/SettingsTesting.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr const char* RunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Every test starts without a settings key; the keeper puts the settings and the RunOnce entry back after it.
class SettingsStoreTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunPath, "Corvadin"); }

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

    WriteSettingString("ScheduleOnReboot", "0");
    ApplyRebootSchedule();
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, kRunOnceKey, "Fenwarder"), "<absent>");
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

TEST_F(SettingsStoreTest, TheRunEntryFollowsWhatWasWritten)
{
    EXPECT_TRUE(SetLaunchAtStartup(true));
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, RunPath, "Corvadin"), ProgramCommandLine(ModulePath(), "/scanstartup"));
    EXPECT_TRUE(ReadLaunchAtStartup());
    EXPECT_FALSE(SetLaunchAtStartup(false));
    EXPECT_EQ(ValueText(HKEY_LOCAL_MACHINE, RunPath, "Corvadin"), "<absent>");

    // An old unquoted entry still counts; one of another type does not.
    const char old[] = "C:\\Old Place\\Corvadin.exe /scanstartup";
    WriteValue(HKEY_LOCAL_MACHINE, RunPath, "Corvadin", REG_SZ, old, sizeof old);
    EXPECT_TRUE(ReadLaunchAtStartup());
    const DWORD number = 1;
    WriteValue(HKEY_LOCAL_MACHINE, RunPath, "Corvadin", REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(ReadLaunchAtStartup());
}
