#include "engine/ScanIssue.h"

#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"

#include <utility>

ScanIssue::ScanIssue(int kind, RefCounted* target, std::string description, std::string source)
    : kind_(kind), target_(target), description_(std::move(description)), source_(std::move(source))
{
}

// Key rows never show the root, value rows always do; a target of the wrong type
// for the kind gives an empty name rather than a misread object.
std::string ScanIssue::Name() const
{
    switch (kind_) {
    case KeyIssue:
        if (auto* key = dynamic_cast<RegistryKey*>(target_.get())) {
            return key->ParentPath() + "\\" + key->Name();
        }
        break;
    case ValueIssue:
        if (auto* value = dynamic_cast<RegistryValue*>(target_.get()); value && value->Key()) {
            const RegistryKey& key = *value->Key();
            return key.RootName() + key.ParentPath() + "\\" + key.Name() + "\\" + value->Name();
        }
        break;
    case FileIssue:
    case FolderIssue:
        if (auto* item = dynamic_cast<NamedItem*>(target_.get())) {
            return item->ParentPath() + item->Name();
        }
        break;
    default:
        break;
    }
    return {};
}
