// Deletes registry values and the key trees a backup holds.
#pragma once

#include "registry/RefCounted.h"

#include <vector>

class RegistryKey;
class RegistryValue;

// Deletes the value from its key. True when it is gone: deleted now, or not there.
bool DeleteValue(RegistryValue& value);
// Deletes exactly the keys of tree, a key followed by every key below it as its backup listed them, subkeys first,
// stopping at the first one that cannot be deleted. A subkey made since the backup therefore keeps its parent, and
// nothing without a backup goes. True when the tree's top key is gone.
bool DeleteKeys(const std::vector<Ref<RegistryKey>>& tree);
