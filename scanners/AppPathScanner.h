// Application path registrations whose "Path" names neither a folder nor a file.
#pragma once

#include "scanners/CategoryScanner.h"

class AppPathScanner : public CategoryScanner {
public:
    explicit AppPathScanner(IniStore* ini);
    bool OnKey(RegistryKey* entry) override;
};
