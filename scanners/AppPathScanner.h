// Application path registrations whose "Path" names neither a folder nor a file.
#pragma once

#include "scanners/CategoryScanner.h"

class AppPathScanner : public CategoryScanner {
public:
    explicit AppPathScanner(IniStore* ini);
    int Scan(IssueList* list) override;
    bool OnKey(RegistryKey* entry) override;
};
