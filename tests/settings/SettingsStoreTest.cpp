#include "settings/SettingsStore.h"
#include "settings/StartupOptions.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr const char* KeyPath = "Software\\Quenmark\\Corvadin";
constexpr const char* RunOncePath = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* RunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void SetValue(const char* path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

std::string ValueText(const char* path, const char* name)
{
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, path, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return "<absent>";
    }
    return text;
}

// Every test starts without a settings key and leaves none behind.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitSettingsLocation("C:\\Program Files\\Corvadin\\Corvadin.exe");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, KeyPath);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, KeyPath);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunOncePath, "Fenwarder");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunPath, "Corvadin");
    }
};

}  // namespace

TEST_F(SettingsStoreTest, LocationTexts)
{
    EXPECT_EQ(SettingsKeyPath(), KeyPath);
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
    SetValue(KeyPath, "KeepHistory", REG_DWORD, &one, sizeof one);
    SetValue(KeyPath, "Inner", REG_SZ, "ab\0cd", 6);
    SetValue(KeyPath, "Expand", REG_EXPAND_SZ, "%TEMP%", 7);
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
    SetValue(KeyPath, "Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(ReadSettingString("Number", "d"), "d");
}

TEST_F(SettingsStoreTest, TheRebootScheduleWritesAndRemovesItsRunOnceEntry)
{
    SetValue(RunOncePath, "Other", REG_SZ, "x", 2);
    WriteSettingString("ScheduleOnReboot", "1");
    ApplyRebootSchedule();
    EXPECT_EQ(ValueText(RunOncePath, "Fenwarder"), ProgramCommandLine(ModulePath(), "/scannow"));

    WriteSettingString("ScheduleOnReboot", "0");
    ApplyRebootSchedule();
    EXPECT_EQ(ValueText(RunOncePath, "Fenwarder"), "<absent>");
    EXPECT_EQ(ValueText(RunOncePath, "Other"), "x");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunOncePath, "Other");
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
    EXPECT_EQ(ValueText(RunPath, "Corvadin"), ProgramCommandLine(ModulePath(), "/scanstartup"));
    EXPECT_TRUE(ReadLaunchAtStartup());
    EXPECT_FALSE(SetLaunchAtStartup(false));
    EXPECT_EQ(ValueText(RunPath, "Corvadin"), "<absent>");

    // An old unquoted entry still counts; one of another type does not.
    const char old[] = "C:\\Old Place\\Corvadin.exe /scanstartup";
    SetValue(RunPath, "Corvadin", REG_SZ, old, sizeof old);
    EXPECT_TRUE(ReadLaunchAtStartup());
    const DWORD number = 1;
    SetValue(RunPath, "Corvadin", REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(ReadLaunchAtStartup());
}
