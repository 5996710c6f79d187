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
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(running, NotifyViewSchedulerMessage(), 0, 0, SMTO_ABORTIFHUNG, HandOverTimeout, &answer);
    return true;
}
