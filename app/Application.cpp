#include "app/Application.h"

#include "app/RegisteredMessages.h"
#include "registry/OperationLog.h"
#include "settings/FolderProtection.h"
#include "registry/UniqueHandle.h"
#include "settings/SettingsStore.h"
#include "settings/StartupOptions.h"

#include <commctrl.h>

namespace {

// The running copy answers at once; a copy that hangs must not keep this one for ever.
constexpr UINT HandOverTimeout = 10000;
// How long a copy started by hand waits for the first one's window, which a copy still starting has not made yet.
constexpr DWORD WindowPatience = 10000;
// One copy per session. With User Account Control off the Run value and the log-on task both start one at
// log-on, at the same moment, when neither has a window to be found by yet.
constexpr const char* OneCopyMutexName = "Local\\Corvadin.OneCopy";

// The program's folder as the security functions take it: without the trailing backslash, unless it is a root.
std::string ProgramFolderPath()
{
    const std::string& folder = ProgramFolder();
    return folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder;
}

// The log-on start runs with the rights of whichever administrator logs on: it scans, and so repairs, only from a
// folder that standard users cannot change, since what they put there would run with those rights.
void RefuseLogonScanFromUnprotectedFolder()
{
    StartupFlags& flags = TheStartupFlags();
    if (!flags.startupScan) {
        return;
    }
    const std::string folder = ProgramFolderPath();
    const FolderProtection protection = CheckFolderProtection(folder);
    if (protection.state == FolderProtection::State::Protected) {
        return;
    }
    flags.startupScan = false;
    OperationLog::Write("The scan at log-on was refused: " + protection.reason + " (" + folder + ": " +
                        protection.permissions + ")");
    const std::string message =
        "Corvadin did not scan at log-on: users who are not administrators may be able to change its folder " +
        folder + " (" + protection.reason + "), and whatever they put there would run with your rights.\n\n" +
        "Install Corvadin again with its setup, which protects the folder, or let only administrators change it.";
    MessageBoxA(nullptr, message.c_str(), "Corvadin", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace

BOOL CApplication::InitInstance()
{
    InitSettingsLocation(ModulePath());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ReadStartupFlags(arguments_);
    if (TheStartupFlags().exitOnClose) {
        // The one start that the RunOnce entry and its task were for: neither may start the program again.
        EndRebootSchedule();
    }
    hidden_.SetExitOnClose(TheStartupFlags().exitOnClose);
    // Held until the program ends. A mutex that cannot be made at all does not keep the program from running.
    const UniqueKernelHandle oneCopy(CreateMutexA(nullptr, FALSE, OneCopyMutexName));
    const bool first = GetLastError() != ERROR_ALREADY_EXISTS;
    if (first) {
        RefuseLogonScanFromUnprotectedFolder();
        hidden_.DoModal();
    } else {
        HandOverToRunningCopy();
    }
    return FALSE;
}

void HandOverToRunningCopy()
{
    // A log-on start finds the first copy scanning already, and ends without a word.
    if (TheStartupFlags().startupScan) {
        return;
    }
    HWND running = nullptr;
    const DWORD start = GetTickCount();
    while (!(running = FindWindowA(nullptr, CHiddenDlg::kCaption)) && GetTickCount() - start < WindowPatience) {
        Sleep(50);
    }
    if (running) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(running, NotifyViewSchedulerMessage(), 0, 0, SMTO_ABORTIFHUNG, HandOverTimeout, &answer);
    }
}
