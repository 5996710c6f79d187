// Where Corvadin keeps its options (text values under HKEY_LOCAL_MACHINE), the
// program's own folder and help addresses, and the one-off start after a reboot.
#pragma once

#include <map>
#include <span>
#include <string>

// Option name to text; an absent name reads as empty text.
using Settings = std::map<std::string, std::string>;

// Sets the process-wide texts below from the running program's full file name.
void InitSettingsLocation(const std::string& modulePath);
// "Software\Quenmark\Corvadin", always under HKEY_LOCAL_MACHINE.
const std::string& SettingsKeyPath();
// Under HKEY_LOCAL_MACHINE: the entries the user chose to ignore, one value each.
std::string IgnoreListKeyPath();
// The settings value that names the categories left out of scans: their tags separated by semicolons.
inline constexpr const char* LeftOutCategoriesName = "LeftOutCategories";
// The program's folder with its trailing backslash.
const std::string& ProgramFolder();
// The prefix of the help pages.
const std::string& SiteAddress();
// The help pages the program opens: help string id and page path below SiteAddress.
struct HelpPage {
    int stringId;
    const char* path;
};
std::span<const HelpPage> HelpPages() noexcept;
// SiteAddress followed by the page path of help string id (149 to 152); empty for other ids.
std::string HelpPageAddress(int stringId);

// Adds every text value of the settings key to settings; leaves it as it is when
// the key cannot be opened.
void LoadSettings(Settings& settings);
void SaveSettings(const Settings& settings);
bool WriteSettingString(const std::string& name, const std::string& text);
std::string ReadSettingString(const std::string& name, const std::string& defaultText);
bool ReadSettingFlag(const std::string& name, bool defaultOn);
// How the settings dialog reads a flag: on exactly when the leading number is 1.
bool IsFlagOn(const std::string& text);

// Writes or removes the RunOnce entry and the task that start a scan at the next Windows start, together,
// from the ScheduleOnReboot value stored in the registry.
void ApplyRebootSchedule();
// Removes both, as the start they were for has come: Windows removes only the RunOnce entry by itself.
void EndRebootSchedule();

// The command line that starts programPath with a switch. A path with blanks is
// quoted, so that Windows cannot start C:\Program.exe in its place.
std::string ProgramCommandLine(const std::string& programPath, const std::string& switchText);
// The running program's full file name.
std::string ModulePath();
