// corvadin-cli: scans, repairs and restores from the command line, with the same
// engine, rollback files and log as the window.
#include "cli/CliCommands.h"
#include "engine/IniStore.h"
#include "engine/ScanSession.h"
#include "registry/DllSearch.h"
#include "registry/OperationLog.h"

#include <iostream>

int main(int argc, char** argv)
{
    const bool dllSearchRestricted = RestrictDllSearchToSystemFolder();
    UseLowFragmentationHeaps();
    QuietenDriveErrorsOfThisThread();
    OperationLog::Start(LogNameFromIni(".\\Corvadin.ini"));
    LogDllSearch(dllSearchRestricted);
    const int result = RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    OperationLog::Stop();
    return result;
}
