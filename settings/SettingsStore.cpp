#include "settings/SettingsStore.h"

#include "registry/UniqueHandle.h"
#include "settings/StartTask.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr REGSAM SettingsAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
constexpr const char* RunOnceKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* RunOnceValueName = "Fenwarder";

struct SettingsLocation {
    // Known before the program's location is: the console program reads the settings without it.
    std::string keyPath = std::string("Software\\") + "Quenmark" + "\\" + "Corvadin";
    std::string programFolder;
    std::string siteAddress;
};

SettingsLocation& Location()
{
    static SettingsLocation location;
    return location;
}

UniqueHkey OpenSettingsKey(REGSAM access)
{
    UniqueHkey key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath().c_str(), 0, access, key.put());
    return key;
}

// Text values only, and only when they end with their terminating zero.
bool ReadText(HKEY key, const std::string& name, std::string& text)
{
    std::vector<char> data(16386);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || data[size - 1] != '\0') {
        return false;
    }
    text.assign(data.data());
    return true;
}

bool SetText(HKEY key, const std::string& name, const std::string& text)
{
    return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

void InitSettingsLocation(const std::string& modulePath)
{
    SettingsLocation& location = Location();
    const size_t slash = modulePath.rfind('\\');
    location.programFolder = slash != std::string::npos && slash != 0 ? modulePath.substr(0, slash + 1) : modulePath;
    // The help pages ship with the program, in its Help folder.
    std::string folder = location.programFolder;
    for (char& c : folder) {
        c = c == '\\' ? '/' : c;
    }
    location.siteAddress = "file:///" + folder + "Help";
}

const std::string& SettingsKeyPath()
{
    return Location().keyPath;
}

std::string IgnoreListKeyPath()
{
    return SettingsKeyPath() + "\\Ignored";
}

const std::string& ProgramFolder()
{
    return Location().programFolder;
}

const std::string& SiteAddress()
{
    return Location().siteAddress;
}

std::span<const HelpPage> HelpPages() noexcept
{
    static const HelpPage pages[] = {
        {149, "/help/option_general.html"},
        {150, "/help/option_log.html"},
        {151, "/help/option_update.html"},
        {152, "/help/context.html"},
    };
    return pages;
}

std::string HelpPageAddress(int stringId)
{
    for (const HelpPage& page : HelpPages()) {
        if (page.stringId == stringId) {
            return SiteAddress() + page.path;
        }
    }
    return {};
}

void LoadSettings(Settings& settings)
{
    const UniqueHkey key = OpenSettingsKey(KEY_READ);
    if (!key) {
        return;
    }
    std::vector<char> name(1024);
    std::vector<BYTE> data(16384);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            const char* text = reinterpret_cast<const char*>(data.data());
            std::string value(text, dataSize);
            value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
            settings[std::string(name.data(), nameLength)] = value;
        }
    }
}

void SaveSettings(const Settings& settings)
{
    for (const auto& [name, text] : settings) {
        WriteSettingString(name, text);
    }
}

bool WriteSettingString(const std::string& name, const std::string& text)
{
    UniqueHkey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        SettingsAccess, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return SetText(key.get(), name, text);
}

std::string ReadSettingString(const std::string& name, const std::string& defaultText)
{
    const UniqueHkey key = OpenSettingsKey(SettingsAccess);
    std::string text;
    return key && ReadText(key.get(), name, text) ? text : defaultText;
}

bool ReadSettingFlag(const std::string& name, bool defaultOn)
{
    return std::atoi(ReadSettingString(name, defaultOn ? "1" : "0").c_str()) != 0;
}

bool IsFlagOn(const std::string& text)
{
    return std::atoi(text.c_str()) == 1;
}

void ApplyRebootSchedule()
{
    UniqueHkey runOnce;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunOnceKeyPath, 0, SettingsAccess, runOnce.put()) != ERROR_SUCCESS) {
        return;
    }
    if (ReadSettingFlag("ScheduleOnReboot", false)) {
        if (SetText(runOnce.get(), RunOnceValueName, ProgramCommandLine(ModulePath(), "/scannow")) &&
            !LogTaskOutcome(CreateStartTask(RebootScanTask(), ModulePath()), RebootScanTask(),
                            "no scan starts at the next start of Windows")) {
            RegDeleteValueA(runOnce.get(), RunOnceValueName);
        }
    } else {
        EndRebootSchedule();
    }
}

void EndRebootSchedule()
{
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, RunOnceKeyPath, RunOnceValueName);
    LogTaskOutcome(RemoveStartTask(RebootScanTask()), RebootScanTask(),
                   "it may start Corvadin again at the next log-on");
}

std::string ProgramCommandLine(const std::string& programPath, const std::string& switchText)
{
    const bool needsQuotes =
        programPath.find(' ') != std::string::npos && !(programPath.size() > 1 && programPath.front() == '"');
    return (needsQuotes ? "\"" + programPath + "\"" : programPath) + " " + switchText;
}

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}
