// Registered fonts whose file is missing.
#pragma once

#include "scanners/CategoryScanner.h"

class FontFileScanner : public CategoryScanner {
public:
    explicit FontFileScanner(IniStore* ini);
    bool OnValue(RegistryValue* value) override;
};
