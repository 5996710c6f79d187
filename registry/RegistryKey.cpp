#include "registry/RegistryKey.h"

#include "registry/RegistryValue.h"

#include <utility>

std::string RootNameOf(HKEY root)
{
    struct RootEntry {
        HKEY root;
        const char* name;
    };
    static const RootEntry roots[] = {
        {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT\\"},
        {HKEY_CURRENT_USER, "HKEY_CURRENT_USER\\"},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\"},
        {HKEY_USERS, "HKEY_USERS\\"},
        {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG\\"},
    };
    for (const RootEntry& entry : roots) {
        if (entry.root == root) {
            return entry.name;
        }
    }
    return {};
}

RegistryKey::RegistryKey(HKEY root, std::string parentPath, std::string name, RegistryView view)
    : root_(root), rootName_(RootNameOf(root)), parentPath_(std::move(parentPath)), name_(std::move(name)), view_(view)
{
}

RegistryKey::RegistryKey(const RegistryKey& parent, const std::string& childName)
    : RegistryKey(parent.root_, parent.RelativePath(), childName, parent.view_)
{
}

LONG RegistryKey::OpenHandle(REGSAM access, UniqueHkey& handle) const
{
    return RegOpenKeyExA(root_, RelativePath().c_str(), 0, access | AccessOf(view_), handle.put());
}

bool RegistryKey::Open(REGSAM access)
{
    return handle_ || OpenHandle(access, handle_) == ERROR_SUCCESS;
}

bool RegistryKey::IsGone() const
{
    UniqueHkey handle;
    return OpenHandle(KEY_QUERY_VALUE, handle) == ERROR_FILE_NOT_FOUND;
}

Ref<RegistryValue> RegistryKey::QueryValue(const std::string& valueName)
{
    Ref<RegistryValue> value(new RegistryValue(valueName, this));
    return value->Size() >= 0 || !value->FitsCodePage() ? value : Ref<RegistryValue>();
}
