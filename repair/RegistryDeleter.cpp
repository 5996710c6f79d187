#include "repair/RegistryDeleter.h"

#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"

#include <vector>

namespace {

// Deleting a subkey renumbers the ones after it, so a key's subkeys are collected in full before the first one is
// deleted.
class SubkeyCollector : public RegistryVisitor {
public:
    bool OnValue(RegistryValue*) override { return true; }
    bool OnKey(RegistryKey* key) override
    {
        if (key) {
            subkeys.emplace_back(key);
        }
        return true;
    }

    std::vector<Ref<RegistryKey>> subkeys;
};

}  // namespace

bool DeleteValue(RegistryValue& value)
{
    RegistryKey* key = value.Key();
    if (!key) {
        return true;
    }
    // A handle of its own: the key may still be open with the read-only rights a
    // scanner asked for, which cannot delete.
    UniqueHkey handle;
    if (key->OpenHandle(KEY_SET_VALUE, handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle.get(), value.Name().c_str());
    }
    return true;
}

bool DeleteKeyTree(RegistryKey& key)
{
    RegistryDeleter deleter;
    SubkeyCollector entries;
    // The walk reopens the key for reading rather than use a handle that may only query values.
    key.Close();
    EnumerateSubkeys(key, entries, deleter.Context());
    for (const Ref<RegistryKey>& subkey : entries.subkeys) {
        deleter.OnKey(subkey.get());
    }
    // A key goes with its values: deleting them one by one first would only cost time.
    RegDeleteKeyExA(key.RootHandle(), key.RelativePath().c_str(), AccessOf(key.View()), 0);
    return true;
}

bool RegistryDeleter::OnValue(RegistryValue* value)
{
    if (value) {
        DeleteValue(*value);
    }
    return true;
}

bool RegistryDeleter::OnKey(RegistryKey* key)
{
    if (key) {
        DeleteKeyTree(*key);
    }
    return true;
}
