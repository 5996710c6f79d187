// Corvadin.exe: the log, then the application's whole run.
#include "app/Application.h"
#include "engine/IniStore.h"
#include "registry/OperationLog.h"

#include <objbase.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int)
{
    OperationLog::Start(LogNameFromIni(".\\Corvadin.ini"));
    // The shortcut scan reads shell links, which are COM objects.
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    {
        CApplication application(arguments ? arguments : "");
        application.Run(instance);
    }
    if (com) {
        CoUninitialize();
    }
    OperationLog::Stop();
    return 0;
}
