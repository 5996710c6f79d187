#include "registry/RegistryKey.h"

#include "registry/RegistryValue.h"

#include <utility>

namespace {

// Every key keeps a pointer to one of these rather than a copy of its own.
const std::string& RootNameText(HKEY root)
{
    struct RootEntry {
        HKEY root;
        std::string name;
    };
    static const RootEntry roots[] = {
        {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT\\"},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER\\"},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\"},
        {HKEY_USERS, "HKEY_USERS\\"},
        {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG\\"},
    };
    static const std::string none;
    for (const RootEntry& entry : roots) {
        if (entry.root == root) {
            return entry.name;
        }
    }
    return none;
}

// A value that can be neither read nor told apart from an absent one is no value.
Ref<RegistryValue> Usable(Ref<RegistryValue> value)
{
    return value->Size() >= 0 || !value->FitsCodePage() ? value : Ref<RegistryValue>();
}

}  // namespace

std::string RootNameOf(HKEY root)
{
    return RootNameText(root);
}

bool IsBelowServicesKey(HKEY root, const std::string& path)
{
    const int length = lstrlenA(ServicesKeyPath);
    return root == HKEY_LOCAL_MACHINE && static_cast<int>(path.size()) > length + 1 && path[length] == '\\' &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), length, ServicesKeyPath, length) ==
               CSTR_EQUAL;
}

bool IsServiceKey(const RegistryKey& key)
{
    return IsBelowServicesKey(key.RootHandle(), key.RelativePath()) &&
           key.ParentPath().size() == std::char_traits<char>::length(ServicesKeyPath);
}

RegistryKey::RegistryKey(HKEY root, std::string parentPath, std::string name, RegistryView view)
    : root_(root), rootName_(&RootNameText(root)), parentPath_(std::move(parentPath)), name_(std::move(name)),
      view_(view)
{
}

RegistryKey::RegistryKey(const RegistryKey& parent, const std::string& childName)
    : RegistryKey(parent.root_, parent.RelativePath(), childName, parent.view_)
{
    // A parent nobody holds may live on the stack: only a counted one may be kept.
    if (parent.RefCount() > 0) {
        parent_ = const_cast<RegistryKey*>(&parent);
    }
}

LONG RegistryKey::OpenHandle(REGSAM access, UniqueHkey& handle) const
{
    return RegOpenKeyExA(root_, RelativePath().c_str(), 0, access | AccessOf(view_), handle.put());
}

LONG RegistryKey::TryOpen(REGSAM access)
{
    if (handle_) {
        return ERROR_SUCCESS;
    }
    // Opened below an open key, the registry need not find every key on the way down from the root again.
    for (const RegistryKey* above = parent_.get(); above; above = above->parent_.get()) {
        if (above->handle_) {
            const std::string abovePath = above->RelativePath();
            const std::string below = above == parent_.get() ? name_
                                      : abovePath.empty()     ? RelativePath()
                                                              : RelativePath().substr(abovePath.size() + 1);
            return RegOpenKeyExA(above->handle_.get(), below.c_str(), 0, access | AccessOf(view_), handle_.put());
        }
    }
    return OpenHandle(access, handle_);
}

bool RegistryKey::IsGone() const
{
    UniqueHkey handle;
    return OpenHandle(KEY_QUERY_VALUE, handle) == ERROR_FILE_NOT_FOUND;
}

Ref<RegistryValue> RegistryKey::QueryValue(const std::string& valueName)
{
    return Usable(Ref<RegistryValue>(new RegistryValue(valueName, this)));
}

Ref<RegistryValue> RegistryKey::ValueFromData(const std::string& valueName, DWORD type, const BYTE* data,
                                              DWORD size)
{
    return Usable(Ref<RegistryValue>(new RegistryValue(valueName, this, type, data, size)));
}
