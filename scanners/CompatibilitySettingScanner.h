// Compatibility settings and assistant records of programs that are missing.
#pragma once

#include "scanners/CategoryScanner.h"

class CompatibilitySettingScanner : public CategoryScanner {
public:
    explicit CompatibilitySettingScanner(IniStore* ini);
    // The value's name is the program; only full paths are judged.
    bool OnValue(RegistryValue* value) override;
};
