// Browser helper object entries whose class is not registered under HKEY_CLASSES_ROOT\CLSID.
#pragma once

#include "scanners/CategoryScanner.h"

class BrowserHelperObjectScanner : public CategoryScanner {
public:
    explicit BrowserHelperObjectScanner(IniStore* ini);
    bool OnKey(RegistryKey* entry) override;
};
