// Interface registrations under Interface, the user's and the machine's each where it lies, whose proxy/stub class
// or type library is registered in neither half of the classes.
#pragma once

#include "scanners/CategoryScanner.h"
#include "scanners/ClassKeys.h"

#include <string>

class InterfaceScanner : public CategoryScanner {
public:
    explicit InterfaceScanner(IniStore* ini);
    bool OnKey(RegistryKey* interfaceKey) override;

private:
    // The id that the subkey's default value names, when it reads as one; empty otherwise (or when the entry must
    // not be judged, which sets judgeable to false).
    std::string NamedId(RegistryKey& interfaceKey, const char* subkey, bool& judgeable);
    // " missing link:..." when the id is registered in neither half below parent; empty otherwise.
    std::string MissingLink(const char* parent, const std::string& id, RegistryView view);

};
