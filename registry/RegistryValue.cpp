#include "registry/RegistryValue.h"

#include <algorithm>
#include <utility>

RegistryValue::RegistryValue(std::string name, RegistryKey* key) : name_(std::move(name)), key_(key)
{
    if (!key_ || !key_->Open(KEY_ALL_ACCESS)) {
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExA(key_->Handle(), name_.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return;
    }
    data_.resize(size);
    DWORD type = 0;
    if (RegQueryValueExA(key_->Handle(), name_.c_str(), nullptr, &type, data_.data(), &size) != ERROR_SUCCESS) {
        // The value changed between the two reads: keep nothing that was not read.
        data_.clear();
        return;
    }
    type_ = static_cast<int>(type);
    data_.resize(size);
    size_ = static_cast<long>(size);
}

// The strings the data holds. Stored text need not be terminated, so the end of
// the data ends the last string as well as a zero byte does.
std::vector<std::string> RegistryValue::Strings() const
{
    std::vector<std::string> strings;
    const char* text = reinterpret_cast<const char*>(data_.data());
    const char* end = text + data_.size();
    if (type_ == REG_SZ || type_ == REG_EXPAND_SZ) {
        strings.emplace_back(text, std::find(text, end, '\0'));
    } else if (type_ == REG_MULTI_SZ) {
        while (text < end) {
            const char* stop = std::find(text, end, '\0');
            if (stop == text) {
                break;  // an empty string ends the list
            }
            strings.emplace_back(text, stop);
            text = stop + 1;
        }
    }
    return strings;
}

std::string RegistryValue::GetString(int index) const
{
    const std::vector<std::string> strings = Strings();
    if (index < 0 || index >= static_cast<int>(strings.size())) {
        return {};
    }
    if (type_ != REG_EXPAND_SZ) {
        return strings[index];
    }
    char expanded[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsA(strings[index].c_str(), expanded, sizeof expanded);
    return length != 0 && length < sizeof expanded ? std::string(expanded) : strings[index];
}

std::string RegistryValue::FullPath() const
{
    return key_ ? key_->FullPath() + "\\" + name_ : "invalid key";
}

std::string RegistryValue::DisplayName() const
{
    return key_ ? key_->RootName() + key_->ParentPath() + "\\" + key_->Name() + "\\" + name_ : std::string();
}

bool RegistryValue::IsGone() const
{
    if (!key_) {
        return true;
    }
    UniqueHkey handle;
    const LONG opened = RegOpenKeyExA(key_->RootHandle(), key_->RelativePath().c_str(), 0, KEY_QUERY_VALUE,
                                      handle.put());
    if (opened != ERROR_SUCCESS) {
        return opened == ERROR_FILE_NOT_FOUND;
    }
    return RegQueryValueExA(handle.get(), name_.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}
