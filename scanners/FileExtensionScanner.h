// The Explorer's per-user file extension entries whose extension is not registered
// under HKEY_CLASSES_ROOT.
#pragma once

#include "scanners/CategoryScanner.h"

class FileExtensionScanner : public CategoryScanner {
public:
    explicit FileExtensionScanner(IniStore* ini);
    bool OnKey(RegistryKey* entry) override;
};
