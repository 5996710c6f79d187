// Network share records (the server service's share values and the older per-share
// subkeys) whose folder or drive is gone, or that are malformed.
#pragma once

#include "scanners/CategoryScanner.h"

#include <string>

class SharedFolderScanner : public CategoryScanner {
public:
    explicit SharedFolderScanner(IniStore* ini);
    // A share under ...\lanmanserver\Shares: one multi-string value per share.
    bool OnValue(RegistryValue* value) override;
    // A share under ...\Network\LanMan: one subkey per share, its folder in "Path".
    bool OnKey(RegistryKey* shareKey) override;

    // Empty when nothing is wrong with the share path, otherwise what is.
    std::string CheckSharePath(const std::string& path);
};
