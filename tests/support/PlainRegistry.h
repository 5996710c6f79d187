// The registry read and written with the plain API, so that the code under test never judges its own work.
#pragma once

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A value as stored: its type and its bytes.
struct StoredValue {
    DWORD type;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

inline std::optional<StoredValue> ReadValue(HKEY root, const std::string& path, const std::string& name)
{
    StoredValue value{REG_NONE, std::vector<BYTE>(1 << 16)};
    DWORD size = static_cast<DWORD>(value.bytes.size());
    if (RegGetValueA(root, path.empty() ? nullptr : path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &value.type, value.bytes.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

// The text of a REG_SZ value, up to its first zero; nothing when the value is absent or of another type.
inline std::optional<std::string> ReadText(HKEY root, const std::string& path, const std::string& name)
{
    const std::optional<StoredValue> value = ReadValue(root, path, name);
    if (!value || value->type != REG_SZ) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const char*>(value->bytes.data());
    return std::string(text, std::find(text, text + value->bytes.size(), '\0'));
}

// The same for comparisons: the text, "<absent>", or "<type N>" for a value that is no REG_SZ.
inline std::string ValueText(HKEY root, const std::string& path, const std::string& name)
{
    if (const std::optional<std::string> text = ReadText(root, path, name)) {
        return *text;
    }
    const std::optional<StoredValue> value = ReadValue(root, path, name);
    return value ? "<type " + std::to_string(value->type) + ">" : "<absent>";
}

inline bool ValueExists(HKEY root, const std::string& path, const std::string& name)
{
    return RegGetValueA(root, path.empty() ? nullptr : path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

inline bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// Writes a value, creating its key and any missing above it; false when it cannot.
inline bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data,
                       DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LSTATUS status = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

inline bool WriteText(HKEY root, const std::string& path, const std::string& name, const std::string& text,
                      DWORD type = REG_SZ)
{
    return WriteValue(root, path, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

inline bool WriteDword(HKEY root, const std::string& path, const std::string& name, DWORD number)
{
    return WriteValue(root, path, name, REG_DWORD, &number, sizeof number);
}

// Every key below a path, by path relative to it, with every value's type and bytes.
using KeySnapshot = std::map<std::string, std::map<std::string, StoredValue>>;

inline void SnapshotInto(HKEY root, const std::string& path, const std::string& relative, KeySnapshot& snapshot)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    auto& values = snapshot[relative];
    std::vector<char> name(32768);
    std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
            break;
        }
        values[std::string(name.data(), nameLength)] = {type, std::vector<BYTE>(data.begin(), data.begin() + size)};
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        subkeys.emplace_back(name.data(), nameLength);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys) {
        SnapshotInto(root, path + "\\" + subkey, relative + "\\" + subkey, snapshot);
    }
}

inline KeySnapshot Snapshot(HKEY root, const std::string& path)
{
    KeySnapshot snapshot;
    SnapshotInto(root, path, "", snapshot);
    return snapshot;
}
