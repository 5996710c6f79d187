// Class registrations under HKEY_CLASSES_ROOT\CLSID whose in-process server file
// cannot be found.
#pragma once

#include "scanners/CategoryScanner.h"

class ComObjectScanner : public CategoryScanner {
public:
    explicit ComObjectScanner(IniStore* ini);
    bool OnKey(RegistryKey* classKey) override;
};
