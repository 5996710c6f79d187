#include "app/RegisteredMessages.h"

UINT NotifyViewSchedulerMessage()
{
    static const UINT message = RegisterWindowMessageA("zintavo::OnNotifyViewScheduler");
    return message;
}

UINT NotifyIconMessage()
{
    static const UINT message = RegisterWindowMessageA("zintavo::OnNotifyIcon");
    return message;
}
