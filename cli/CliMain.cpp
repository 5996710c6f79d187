// corvadin-cli: scans, repairs and restores from the command line, with the same
// engine, rollback files and log as the window.
#include "cli/CliCommands.h"
#include "engine/IniStore.h"
#include "engine/ScanSession.h"
#include "registry/DllSearch.h"
#include "registry/OperationLog.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv)
{
    const bool dllSearchRestricted = RestrictDllSearchToSystemFolder();
    // The listing goes out in large blocks: on a console or another character device the C library would write
    // every character on its own, which makes a long listing take several times as long as the scan.
    setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
    UseLowFragmentationHeaps();
    QuietenDriveErrorsOfThisThread();
    OperationLog::Start(LogNameFromIni(".\\Corvadin.ini"));
    LogDllSearch(dllSearchRestricted);
    const int result = RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    OperationLog::Stop();
    return result;
}
