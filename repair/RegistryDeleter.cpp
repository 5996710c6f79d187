#include "repair/RegistryDeleter.h"

#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "registry/UniqueHandle.h"

namespace {

bool IsGoneAfter(LONG result)
{
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace

bool DeleteValue(RegistryValue& value)
{
    RegistryKey* key = value.Key();
    if (!key) {
        return false;
    }
    // A handle of its own: the key may still be open with the read-only rights a
    // scanner asked for, which cannot delete.
    UniqueHkey handle;
    const LONG opened = key->OpenHandle(KEY_SET_VALUE, handle);
    if (opened != ERROR_SUCCESS) {
        return opened == ERROR_FILE_NOT_FOUND;
    }
    return IsGoneAfter(RegDeleteValueA(handle.get(), value.Name().c_str()));
}

bool DeleteKeys(const std::vector<Ref<RegistryKey>>& tree)
{
    // The list has every key before the keys below it, so from its end each key comes after its subkeys.
    for (auto key = tree.rbegin(); key != tree.rend(); ++key) {
        (*key)->Close();
        // A key goes with its values: deleting them one by one first would only cost time.
        const LONG result =
            RegDeleteKeyExA((*key)->RootHandle(), (*key)->RelativePath().c_str(), AccessOf((*key)->View()), 0);
        if (!IsGoneAfter(result)) {
            return false;
        }
    }
    return !tree.empty();
}
