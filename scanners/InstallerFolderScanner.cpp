#include "scanners/InstallerFolderScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

InstallerFolderScanner::InstallerFolderScanner(IniStore* ini) : CategoryScanner(ini, Category::InstallerFolder) {}

bool InstallerFolderScanner::OnValue(RegistryValue* value)
{
    if (!value || !IsFullyQualified(value->Name())) {
        return true;
    }
    // Whatever stands at the name keeps the record: a file there is no proof that the folder is gone for good.
    const std::string& folder = value->Name();
    if (FileOrFolderExists(folder, Looked()) || !IsOnAvailableDrive(folder)) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing folder:" + folder);
    return true;
}
