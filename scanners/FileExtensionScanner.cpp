#include "scanners/FileExtensionScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "scanners/ClassKeys.h"

FileExtensionScanner::FileExtensionScanner(IniStore* ini) : CategoryScanner(ini, Category::FileExtension) {}

bool FileExtensionScanner::OnKey(RegistryKey* entry)
{
    if (!entry || entry->Name().rfind(".", 0) != 0) {
        return true;
    }
    // Only a key that is not there is missing: one this user may not read still exists, and reporting it would
    // let the repair delete the user's choices for that type.
    if (ClassIsRegistered("", entry->Name(), entry->View(), Looked())) {
        return true;
    }
    ReportIssue(KeyIssue, entry, "missing link to:" + RootNameOf(HKEY_CLASSES_ROOT) + entry->Name());
    return true;
}
