#include "scanners/HelpFileScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

HelpFileScanner::HelpFileScanner(IniStore* ini) : CategoryScanner(ini, Category::HelpFile) {}

bool HelpFileScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    // The value's name is the file, its text the folder that holds it.
    const std::string folder = value->GetString(0);
    const std::string path = folder + value->Name();
    // A folder written without its closing backslash still holds the file. That path is tried first: the one
    // without a separator names nothing in most cases, and a failed look-up is the slow one.
    const bool needsSeparator = !folder.empty() && folder.back() != '\\';
    if ((needsSeparator && FileExists(folder + "\\" + value->Name(), Looked())) || FileExists(path, Looked()) ||
        !IsOnAvailableDrive(path)) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + path);
    return true;
}
