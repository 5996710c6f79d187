#include "scanners/FileExtensionScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"

FileExtensionScanner::FileExtensionScanner(IniStore* ini) : CategoryScanner(ini, Category::FileExtension) {}

bool FileExtensionScanner::OnKey(RegistryKey* entry)
{
    if (!entry || entry->Name().rfind(".", 0) != 0) {
        return true;
    }
    // Only a key that is not there is missing: one this user may not read still exists, and reporting it would
    // let the repair delete the user's choices for that type.
    Ref<RegistryKey> classKey(new RegistryKey(HKEY_CLASSES_ROOT, "", entry->Name()));
    if (classKey->TryOpen(KEY_QUERY_VALUE) != ERROR_FILE_NOT_FOUND) {
        return true;
    }
    ReportIssue(KeyIssue, entry, "missing link to:" + classKey->FullPath());
    return true;
}
