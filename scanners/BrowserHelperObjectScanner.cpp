#include "scanners/BrowserHelperObjectScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"

namespace {

// Only a key that is not there is missing: one we may not read (or that fails to
// open for any other reason) still exists, and deleting the entry that points at
// it would lose a working registration.
bool KeyIsMissing(const RegistryKey& key)
{
    UniqueHkey handle;
    return key.OpenHandle(KEY_QUERY_VALUE, handle) == ERROR_FILE_NOT_FOUND;
}

}  // namespace

BrowserHelperObjectScanner::BrowserHelperObjectScanner(IniStore* ini) : CategoryScanner(ini, Category::BrowserHelperObject) {}

bool BrowserHelperObjectScanner::OnKey(RegistryKey* entry)
{
    if (!entry) {
        return true;
    }
    // An object registered for 32-bit programs is a class of their view.
    const RegistryKey classKey(HKEY_CLASSES_ROOT, "CLSID", entry->Name(), entry->View());
    if (!KeyIsMissing(classKey)) {
        return true;
    }
    ReportIssue(KeyIssue, entry,
                " missing link:" + classKey.RootName() + classKey.ParentPath() + "\\" + classKey.Name());
    return true;
}
