// Browser helper object entries whose class is not registered under HKEY_CLASSES_ROOT\CLSID.
#pragma once

#include "scanners/CategoryScanner.h"

class BrowserHelperObjectScanner : public CategoryScanner {
public:
    explicit BrowserHelperObjectScanner(IniStore* ini);
    int Scan(IssueList* list) override;
    bool OnKey(RegistryKey* entry) override;
};
