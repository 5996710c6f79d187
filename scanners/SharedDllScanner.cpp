#include "scanners/SharedDllScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

SharedDllScanner::SharedDllScanner(IniStore* ini) : CategoryScanner(ini, Category::SharedDll) {}

bool SharedDllScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    // The value's name is the counted path. Installers count shared folders as well
    // as files, so an existing folder is as present as an existing file; a path on a
    // drive that is away right now proves nothing.
    const std::string& path = value->Name();
    if (FileOrFolderExists(path, Looked()) || !IsOnAvailableDrive(path)) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + path);
    return true;
}
