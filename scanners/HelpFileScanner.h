// Registered help files (WinHelp and HTML Help) that no longer exist.
#pragma once

#include "scanners/CategoryScanner.h"

class HelpFileScanner : public CategoryScanner {
public:
    explicit HelpFileScanner(IniStore* ini);
    bool OnValue(RegistryValue* value) override;
};
