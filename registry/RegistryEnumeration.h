// Walks over the subkeys or the values of a key, on behalf of a scan context whose
// stop flag is read before every entry and whose progress sink follows the walk.
#pragma once

class RegistryKey;
class RegistryVisitor;
class WalkContext;

// The caller holds a reference to key for the walk. Both walks close the key when
// they end, even when it was open before.
void EnumerateSubkeys(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context);
void EnumerateValues(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context);
