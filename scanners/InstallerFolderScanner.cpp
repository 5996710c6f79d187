#include "scanners/InstallerFolderScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"

InstallerFolderScanner::InstallerFolderScanner(IniStore* ini) : CategoryScanner(ini, Category::InstallerFolder) {}

bool InstallerFolderScanner::OnValue(RegistryValue* value)
{
    if (value) {
        JudgePlaceNamed(*value, " missing folder:");
    }
    return true;
}
