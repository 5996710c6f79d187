#include "settings/StartupOptions.h"

#include "registry/OperationLog.h"
#include "registry/UniqueHandle.h"
#include "settings/SettingsStore.h"
#include "settings/StartTask.h"

#include <windows.h>

#include <vector>

namespace {

constexpr const char* RunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* RunValueName = "Corvadin";

UniqueHkey OpenRunKey()
{
    UniqueHkey key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, RunKeyPath, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key.put());
    return key;
}

}  // namespace

StartupFlags& TheStartupFlags()
{
    static StartupFlags flags;
    return flags;
}

bool HasSwitch(const std::string& commandLine, const std::string& switchText)
{
    return commandLine.find(switchText) != std::string::npos;
}

bool EnterProgramFolderForScheduledStart(const std::string& commandLine)
{
    if (!HasSwitch(commandLine, "/scanstartup") && !HasSwitch(commandLine, "/scannow")) {
        return true;
    }
    const std::string program = ModulePath();
    const size_t slash = program.rfind('\\');
    return slash != std::string::npos && SetCurrentDirectoryA(program.substr(0, slash + 1).c_str());
}

void ReadStartupFlags(const std::string& commandLine)
{
    StartupFlags& flags = TheStartupFlags();
    flags.exitOnClose = HasSwitch(commandLine, "/scannow");
    flags.launchAtSystemStart = ReadLaunchAtStartup();
    flags.startupScan = HasSwitch(commandLine, "/scanstartup");
    flags.startHidden = flags.startupScan;
}

bool ReadLaunchAtStartup()
{
    const UniqueHkey key = OpenRunKey();
    if (!key) {
        return false;
    }
    std::vector<char> text(16384);
    DWORD size = static_cast<DWORD>(text.size());
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), RunValueName, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || text[size - 1] != '\0') {
        return false;
    }
    return HasSwitch(text.data(), "/scanstartup") && StartTaskExists(LogonScanTask());
}

bool SetLaunchAtStartup(bool on)
{
    const UniqueHkey key = OpenRunKey();
    if (!key) {
        OperationLog::Write("The Run key cannot be opened, so the start at log-on was not changed");
        return ReadLaunchAtStartup();
    }
    if (on) {
        const std::string command = ProgramCommandLine(ModulePath(), "/scanstartup");
        const bool written = RegSetValueExA(key.get(), RunValueName, 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(command.c_str()),
                                            static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
        if (written && !LogTaskOutcome(CreateStartTask(LogonScanTask(), ModulePath()), LogonScanTask(),
                                       "Corvadin will not start at log-on")) {
            // Without the task the value would tick a start that never comes where User Account Control is on.
            RegDeleteValueA(key.get(), RunValueName);
        }
    } else {
        RegDeleteValueA(key.get(), RunValueName);
        LogTaskOutcome(RemoveStartTask(LogonScanTask()), LogonScanTask(), "it may still start Corvadin at log-on");
    }
    return ReadLaunchAtStartup();
}
