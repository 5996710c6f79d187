// Folders Windows Installer counts as used by installed products, which no longer exist.
#pragma once

#include "scanners/CategoryScanner.h"

class InstallerFolderScanner : public CategoryScanner {
public:
    explicit InstallerFolderScanner(IniStore* ini);
    // The value's name is the folder; only full paths are judged.
    bool OnValue(RegistryValue* value) override;
};
