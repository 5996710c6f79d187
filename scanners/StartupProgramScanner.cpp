#include "scanners/StartupProgramScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"

StartupProgramScanner::StartupProgramScanner(IniStore* ini) : CategoryScanner(ini, Category::StartupProgram) {}

bool StartupProgramScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    // A program that asks for elevation cannot be started from here, yet it is there.
    const std::string commandLine = value->GetString(0);
    if (!Commands().IsGone(commandLine, Looked())) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + commandLine);
    return true;
}
