// What a scan issue points at and a repair deletes: a registry key, a registry value, or a file or folder on disk.
// Each target answers for itself, so that no caller has to guess its type.
#pragma once

#include "registry/RefCounted.h"
#include "registry/RegistryView.h"

#include <string>

class RegistryKey;
class RegistryValue;

class RepairTarget : public RefCounted {
public:
    // The key or the value this target is; both null for a file or folder, which then names something on disk.
    virtual RegistryKey* AsRegistryKey() noexcept { return nullptr; }
    virtual RegistryValue* AsRegistryValue() noexcept { return nullptr; }
    bool IsOnDisk() noexcept { return !AsRegistryKey() && !AsRegistryValue(); }

    // The text a results row shows for the target.
    virtual std::string DisplayName() const = 0;
    // The whole path: the registry root's name and the path below it, or the path on disk. What a repair deletes
    // and logs, and what the console lists.
    virtual std::string FullPath() const = 0;
    // True only when the registry or the file system says the target is not there; a target that cannot be
    // looked at may still be there.
    virtual bool IsGone() const = 0;
    // The registry view a key or value was found in; files have none.
    virtual RegistryView View() const { return RegistryView::Default; }
};
