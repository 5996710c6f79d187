#include "registry/RegistryValue.h"

#include "registry/CodePageText.h"

#include <algorithm>
#include <utility>

namespace {

bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The value's type and bytes as the registry holds them, read with one call unless the value is big; a value
// that grew between the calls is asked again.
bool ReadWide(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data)
{
    BYTE small[512];
    DWORD size = sizeof small;
    LONG read = RegQueryValueExW(key, name.c_str(), nullptr, &type, small, &size);
    if (read == ERROR_SUCCESS) {
        data.assign(small, small + size);
        return true;
    }
    for (int attempt = 0; attempt < 3 && read == ERROR_MORE_DATA; ++attempt) {
        data.resize(size);
        read = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (read == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
    }
    return false;
}

// A variable such as %USERPROFILE% may stand for a folder the code page cannot name.
bool ExpandsInCodePage(const std::string& text)
{
    if (text.find('%') == std::string::npos) {
        return true;
    }
    const std::wstring wide = Widen(text);
    const DWORD needed = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0) {
        return true;  // nothing expanded: the text is used as it is
    }
    std::wstring expanded(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), needed);
    return written == 0 || written > needed || ExactNarrow(expanded.c_str(), written - 1).has_value();
}

}  // namespace

RegistryValue::RegistryValue(std::string name, RegistryKey* key) : name_(std::move(name)), key_(key)
{
    if (!key_ || !key_->Open(KEY_READ)) {
        return;
    }
    DWORD type = 0;
    std::vector<BYTE> raw;
    if (ReadWide(key_->Handle(), Widen(name_), type, raw)) {
        Take(type, raw.data(), static_cast<DWORD>(raw.size()));
    }
}

RegistryValue::RegistryValue(std::string name, RegistryKey* key, DWORD type, const BYTE* data, DWORD size)
    : name_(std::move(name)), key_(key)
{
    if (key_) {
        Take(type, data, size);
    }
}

void RegistryValue::Take(DWORD type, const BYTE* data, DWORD size)
{
    type_ = static_cast<int>(type);
    if (IsText(type)) {
        TakeText(data, size);
    } else {
        data_.assign(data, data + size);
    }
    size_ = fitsCodePage_ ? static_cast<long>(data_.size()) : -1;
}

// The code-page bytes of wide text data, terminating zeros and all, when every character and every expansion
// survives the code page.
void RegistryValue::TakeText(const BYTE* wide, DWORD size)
{
    std::optional<std::string> narrow;
    if (size % 2 == 0) {
        narrow = ExactNarrow(reinterpret_cast<const wchar_t*>(wide), size / 2);
    }
    if (!narrow) {
        fitsCodePage_ = false;
        return;
    }
    data_.assign(narrow->begin(), narrow->end());
    for (const std::string& text : Strings()) {
        if (!ExpandsInCodePage(text)) {
            fitsCodePage_ = false;
            data_.clear();
            return;
        }
    }
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
    return ExpandInView(strings[index], View());
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
    const LONG opened = key_->OpenHandle(KEY_QUERY_VALUE, handle);
    if (opened != ERROR_SUCCESS) {
        return opened == ERROR_FILE_NOT_FOUND;
    }
    return RegQueryValueExA(handle.get(), name_.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND;
}
