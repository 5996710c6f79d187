// A registry key named by its predefined root, its parent's path and its own name;
// it opens a handle only when one is needed. Every key the scan reads is opened here.
#pragma once

#include "registry/NamedItem.h"
#include "registry/RepairTarget.h"
#include "registry/UniqueHandle.h"

#include <string>

class RegistryValue;

class RegistryKey : public RepairTarget, public NamedItem {
public:
    RegistryKey(HKEY root, std::string parentPath, std::string name, RegistryView view = RegistryView::Default);
    // A subkey of parent, on the same root and in the same view. A parent held by a Ref is kept, so that the
    // subkey can be opened relative to it (or to the nearest key above it) while that one is open, as a walk keeps
    // the key it walks.
    RegistryKey(const RegistryKey& parent, const std::string& childName);

    std::string Name() const override { return name_; }
    std::string ParentPath() const override { return parentPath_; }
    const std::string& RootName() const noexcept { return *rootName_; }
    HKEY RootHandle() const noexcept { return root_; }
    HKEY Handle() const noexcept { return handle_.get(); }
    RegistryView View() const override { return view_; }

    // The path below the root: what RegOpenKeyEx and RegDeleteKey take.
    std::string RelativePath() const { return JoinPath(parentPath_, name_); }
    std::string FullPath() const override { return *rootName_ + RelativePath(); }

    RegistryKey* AsRegistryKey() noexcept override { return this; }
    // Parent path, a backslash and the name, without the root: a key directly under its root shows a backslash
    // and its name.
    std::string DisplayName() const override { return parentPath_ + "\\" + name_; }
    bool IsGone() const override;

    // The same key as a new, unopened object: what a second look reads afresh.
    Ref<RegistryKey> Fresh() const { return Ref<RegistryKey>(new RegistryKey(root_, parentPath_, name_, view_)); }

    // An open key keeps the rights it was first opened with. The status is RegOpenKeyEx's: ERROR_FILE_NOT_FOUND
    // alone says that the key is not there.
    LONG TryOpen(REGSAM access);
    bool Open(REGSAM access) { return TryOpen(access) == ERROR_SUCCESS; }
    // A handle of the caller's own on the key, in the key's view; the status of RegOpenKeyEx.
    LONG OpenHandle(REGSAM access, UniqueHkey& handle) const;
    void Close() noexcept { handle_.reset(); }
    // Lets go of the parent: a key that outlives its walk (the target of an issue) keeps no keys above it alive.
    void ForgetParent() noexcept { parent_ = Ref<RegistryKey>(); }

    // The named value, read into memory, or null when it is absent or cannot be read. A value whose text does not
    // fit the code page is returned, so that the caller can tell it from an absent one (see FitsCodePage).
    Ref<RegistryValue> QueryValue(const std::string& valueName);
    // The same for a value whose type and bytes (wide text) a walk over the key's values has read already.
    Ref<RegistryValue> ValueFromData(const std::string& valueName, DWORD type, const BYTE* data, DWORD size);

private:
    HKEY root_;
    const std::string* rootName_;
    Ref<RegistryKey> parent_;
    std::string parentPath_;
    std::string name_;
    RegistryView view_;
    UniqueHkey handle_;
};

// "HKEY_CURRENT_USER\\" and so on; empty for a root that is not a predefined key.
std::string RootNameOf(HKEY root);

// Where Windows keeps its services and drivers, one subkey each, below HKEY_LOCAL_MACHINE. The Service Control
// Manager keeps its own list of them beside the keys, read when Windows starts.
inline constexpr const char* ServicesKeyPath = "SYSTEM\\CurrentControlSet\\Services";
// path (below root) lies below that key.
bool IsBelowServicesKey(HKEY root, const std::string& path);
// The key is a service's or a driver's own.
bool IsServiceKey(const RegistryKey& key);
