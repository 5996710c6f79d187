#include "app/Application.h"

#include "app/RegisteredMessages.h"
#include "settings/SettingsStore.h"
#include "settings/StartupOptions.h"

#include <commctrl.h>

namespace {

// The running copy answers at once; a copy that hangs must not keep this one for ever.
constexpr UINT HandOverTimeout = 10000;

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
    if (!HandOverToRunningCopy()) {
        hidden_.DoModal();
    }
    return FALSE;
}

bool HandOverToRunningCopy()
{
    const HWND running = FindWindowA(nullptr, CHiddenDlg::kCaption);
    if (!running) {
        return false;
    }
    // With User Account Control off, the Run entry and the log-on task both start a copy: the one already
    // running scans, and the second ends without showing its window.
    if (!TheStartupFlags().startupScan) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(running, NotifyViewSchedulerMessage(), 0, 0, SMTO_ABORTIFHUNG, HandOverTimeout, &answer);
    }
    return true;
}
