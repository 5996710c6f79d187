// Whether a file class, extension or COM class is registered, asked as Windows' merged view answers it: the user's
// half (HKEY_CURRENT_USER\Software\Classes) first, then the machine's, each in the entry's view. Asking the merged
// key itself would depend on the system merging it, which not every one does.
#pragma once

#include "registry/RegistryView.h"
#include "scanners/Looks.h"

#include <string>

// True when either half holds parent\name below Software\Classes (parent may be empty). Each answer goes to looks;
// only "not found" in both halves proves the class absent.
bool ClassIsRegistered(const std::string& parent, const std::string& name, RegistryView view, Looks& looks);
