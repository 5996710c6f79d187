// Run dialog history (RunMRU) entries whose command can no longer be started.
#pragma once

#include "scanners/CategoryScanner.h"

class RecentFileScanner : public CategoryScanner {
public:
    explicit RecentFileScanner(IniStore* ini);
    bool OnValue(RegistryValue* value) override;
};
