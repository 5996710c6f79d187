// Shared-DLL reference counts (machine and user) whose file is gone.
#pragma once

#include "scanners/CategoryScanner.h"

class SharedDllScanner : public CategoryScanner {
public:
    explicit SharedDllScanner(IniStore* ini);
    bool OnValue(RegistryValue* value) override;
};
