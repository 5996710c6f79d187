#include "scanners/BrowserHelperObjectScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "scanners/ClassKeys.h"

BrowserHelperObjectScanner::BrowserHelperObjectScanner(IniStore* ini) : CategoryScanner(ini, Category::BrowserHelperObject) {}

bool BrowserHelperObjectScanner::OnKey(RegistryKey* entry)
{
    if (!entry) {
        return true;
    }
    // An object registered for 32-bit programs is a class of their view. Only a key that is not there is missing:
    // one we may not read still exists, and deleting the entry that points at it would lose a working registration.
    const RegistryKey classKey(HKEY_CLASSES_ROOT, "CLSID", entry->Name(), entry->View());
    if (ClassIsRegistered("CLSID", entry->Name(), entry->View(), Looked())) {
        return true;
    }
    ReportIssue(KeyIssue, entry,
                " missing link:" + classKey.RootName() + classKey.ParentPath() + "\\" + classKey.Name());
    return true;
}
