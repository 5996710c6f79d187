// Walks over the subkeys or the values of a key, on behalf of a scan context whose
// stop flag is read before every entry and whose progress sink follows the walk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class RegistryKey;
class RegistryVisitor;
class WalkContext;

// The caller holds a reference to key for the walk. A walk closes the key when it ends, unless the key was open
// before: a caller that walks a key twice (its values, then its subkeys) opens it once, with rights to read it,
// and closes it itself.
void EnumerateSubkeys(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context);
void EnumerateValues(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context);

// The names of key's subkeys, for the short lists below one entry that a judgement reads whole (no progress, no
// stop). ERROR_SUCCESS when every name was read; otherwise the key's open status (ERROR_FILE_NOT_FOUND: no such
// key) or the error that left a name out (ERROR_NO_UNICODE_TRANSLATION for a name outside the code page), and a
// judgement that needs every name must not be made. The key is closed afterwards.
LONG ListSubkeys(RegistryKey& key, std::vector<std::string>& names);
