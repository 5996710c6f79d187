// Walks over the subkeys or the values of a key, on behalf of a scan context whose
// stop flag is read before every entry and whose progress sink follows the walk.
#pragma once

class RegistryKey;
class RegistryVisitor;
class WalkContext;

// The caller holds a reference to key for the walk. A walk closes the key when it ends, unless the key was open
// before: a caller that walks a key twice (its values, then its subkeys) opens it once, with rights to read it,
// and closes it itself.
void EnumerateSubkeys(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context);
void EnumerateValues(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context);
