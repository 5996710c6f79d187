// Installed-programs entries whose uninstall command can no longer be started.
#pragma once

#include "scanners/CategoryScanner.h"

class UninstallScanner : public CategoryScanner {
public:
    explicit UninstallScanner(IniStore* ini);
    bool OnKey(RegistryKey* entry) override;
};
