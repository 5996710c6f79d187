// Class registrations under CLSID, the user's and the machine's each where it lies, whose in-process server file
// cannot be found.
#pragma once

#include "scanners/CategoryScanner.h"

class ComObjectScanner : public CategoryScanner {
public:
    explicit ComObjectScanner(IniStore* ini);
    bool OnKey(RegistryKey* classKey) override;
};
