// Corvadin.exe: the log, then the application's whole run.
#include "app/Application.h"
#include "engine/IniStore.h"
#include "engine/ScanSession.h"
#include "registry/ComApartment.h"
#include "registry/DllSearch.h"
#include "registry/OperationLog.h"
#include "settings/StartupOptions.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int)
{
    const bool dllSearchRestricted = RestrictDllSearchToSystemFolder();
    UseLowFragmentationHeaps();
    const std::string commandLine = arguments ? arguments : "";
    const bool inProgramFolder = EnterProgramFolderForScheduledStart(commandLine);
    OperationLog::Start(LogNameFromIni(".\\Corvadin.ini"));
    LogDllSearch(dllSearchRestricted);
    if (!inProgramFolder) {
        OperationLog::Write("The program's folder could not be made the current folder; working in this one");
    }
    {
        // The settings dialog's folder browser and the drive tree's shell look-ups are COM calls on this thread.
        const ComApartment com;
        CApplication application(commandLine);
        application.Run(instance);
    }
    OperationLog::Stop();
    return 0;
}
