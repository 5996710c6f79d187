#include "scanners/StartupProgramScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

StartupProgramScanner::StartupProgramScanner(IniStore* ini)
    : CategoryScanner(ini, "Startup program", "Startup program:start")
{
}

int StartupProgramScanner::Scan(IssueList* list)
{
    return ScanKeys(list, {
                              {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Run", Walk::Values},
                              {HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Run", Walk::Values},
                          });
}

bool StartupProgramScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    const std::string commandLine = value->GetString(0);
    if (CanStartProcess(commandLine) || !IsOnAvailableDrive(ExtractProgramPath(commandLine))) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + commandLine);
    return true;
}
