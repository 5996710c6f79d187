// The registry entries Windows Installer keeps as the key paths of installed components. The installer checks a
// component's key path each time its product starts and puts a missing one back by repairing the product, so such
// an entry is not the leftover it may look like.
#pragma once

#include "registry/RepairTarget.h"

#include <string>
#include <vector>

class InstallerKeyPaths {
public:
    // The component list's key under HKEY_LOCAL_MACHINE, one subkey per user (SID) holding "Components".
    static constexpr const char* UserDataPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData";

    // Where the component that names target (a value, or a key holding an owned entry) as its key path is
    // registered, as a full key path and product; empty when no component does. The list is read at the first
    // question.
    std::string OwnerOf(RepairTarget& target);

private:
    struct Owned {
        std::string path;  // the entry's full path, lower case
        bool bits64;       // written for a 64-bit component
        std::string component;
    };
    void Load();

    std::vector<Owned> owned_;
    bool loaded_ = false;
};
