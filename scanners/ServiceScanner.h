// Services and drivers whose program is missing.
#pragma once

#include "scanners/CategoryScanner.h"

#include <string>
#include <vector>

class ServiceScanner : public CategoryScanner {
public:
    explicit ServiceScanner(IniStore* ini);
    bool OnKey(RegistryKey* service) override;

private:
    // The files Windows would start for the service, any of which keeps it; empty when it is not judged.
    std::vector<std::string> ProgramOf(RegistryKey& service);
    std::vector<std::string> SharedProcessLibrary(RegistryKey& service);
};
