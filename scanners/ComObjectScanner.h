// Class registrations under CLSID, the user's and the machine's each where it lies, whose in-process server file
// cannot be found.
#pragma once

#include "scanners/CategoryScanner.h"

#include <optional>
#include <string>

class ComObjectScanner : public CategoryScanner {
public:
    explicit ComObjectScanner(IniStore* ini);
    bool OnKey(RegistryKey* classKey) override;

protected:
    // For the categories whose entries name a class judged as this one judges it.
    ComObjectScanner(IniStore* ini, Category category);
    // The class's in-process server text when its file is not found (looks tell whether that is proven);
    // nothing when the class has no such server, the file is there or its drive is away.
    std::optional<std::string> MissingServer(RegistryKey& classKey, Looks& looks);
};
