#include "app/Application.h"

#include "app/RegisteredMessages.h"
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
