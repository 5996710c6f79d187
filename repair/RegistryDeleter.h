// Deletes registry values and whole key trees.
#pragma once

#include "registry/RegistryVisitor.h"
#include "registry/WalkContext.h"

class RegistryKey;
class RegistryValue;

// Deletes the value from its key. Always true: the caller checks what is left.
bool DeleteValue(RegistryValue& value);
// Deletes, depth first, every subkey of key, then key itself with its values.
// Always true: the caller checks what is left.
bool DeleteKeyTree(RegistryKey& key);

// A visitor that deletes every entry it is shown; it never ends a walk.
class RegistryDeleter : public RegistryVisitor {
public:
    bool OnValue(RegistryValue* value) override;
    bool OnKey(RegistryKey* key) override;

    // The context of walks on the deleter's behalf: never stopped, no progress shown.
    WalkContext& Context() noexcept { return context_; }

private:
    SilentWalkContext context_;
};
