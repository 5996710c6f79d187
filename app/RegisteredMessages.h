// The program's two registered window messages, registered once on first use.
#pragma once

#include <windows.h>

// A second copy asks the running one to show its main window.
UINT NotifyViewSchedulerMessage();
// The tray icon's callback.
UINT NotifyIconMessage();
