// The shell's cache of program names (MuiCache, and ShellNoRoam\MUICache of older Windows): values named by a
// program's full path, with or without a ".FriendlyAppName" or ".ApplicationCompany" suffix, whose program is
// gone. Names that are not a full path are judged by the file they name, or not at all.
#pragma once

#include "scanners/CategoryScanner.h"

#include <string>

class MuiCacheScanner : public CategoryScanner {
public:
    explicit MuiCacheScanner(IniStore* ini);
    bool OnValue(RegistryValue* value) override;
};

// The full path of the file a cache value's name stands for: the suffix and a resource reference's "@" and
// ",-123" taken off; empty when what is left is not a full path (a drive's or a share's).
std::string MuiCacheFile(const std::string& valueName);
