// Run entries (machine and user) whose command line can no longer be started.
#pragma once

#include "scanners/CategoryScanner.h"

class StartupProgramScanner : public CategoryScanner {
public:
    explicit StartupProgramScanner(IniStore* ini);
    bool OnValue(RegistryValue* value) override;
};
