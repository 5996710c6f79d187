#include "scanners/InstallerKeyPaths.h"

#include "registry/RegistryKey.h"
#include "registry/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

std::string Lowered(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// A key path the installer writes for a registry entry: two digits (the root, plus 20 for a 64-bit component), a
// colon and the path, "02:\SOFTWARE\Tool\Run". Nothing for a file key path or anything else.
std::optional<std::pair<std::string, bool>> RegistryKeyPath(const std::string& data)
{
    if (data.size() < 5 || !std::isdigit(static_cast<unsigned char>(data[0])) ||
        !std::isdigit(static_cast<unsigned char>(data[1])) || data[2] != ':' || data[3] != '\\') {
        return std::nullopt;
    }
    static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    const int number = (data[0] - '0') * 10 + (data[1] - '0');
    if (number % 20 >= 4) {
        return std::nullopt;
    }
    return std::make_pair(RootNameOf(roots[number % 20]) + data.substr(4), number >= 20);
}

// An entry too long for the buffer is passed over; any other failure (the key deleted under the read) ends the
// listing, since asking again by index would only repeat it.
bool EndsListing(LONG result)
{
    return result != ERROR_SUCCESS && result != ERROR_MORE_DATA;
}

std::vector<std::string> SubkeyNames(HKEY key)
{
    std::vector<std::string> names;
    char name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        const LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (EndsListing(result)) {
            break;
        }
        if (result == ERROR_SUCCESS) {
            names.emplace_back(name, length);
        }
    }
    return names;
}

// Every text value of key, as name and data.
std::vector<std::pair<std::string, std::string>> TextValues(HKEY key)
{
    std::vector<std::pair<std::string, std::string>> values;
    char name[256];
    std::vector<char> data(4096);
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        DWORD size = static_cast<DWORD>(data.size() - 1);
        DWORD type = 0;
        const LONG result =
            RegEnumValueA(key, index, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (EndsListing(result)) {
            break;
        }
        if (result == ERROR_SUCCESS && type == REG_SZ) {
            data[size] = '\0';
            values.emplace_back(std::string(name, length), std::string(data.data()));
        }
    }
    return values;
}

}  // namespace

void InstallerKeyPaths::Load()
{
    loaded_ = true;
    UniqueHkey userData;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, UserDataPath, 0, KEY_READ | AccessOf(IsWindows64() ? RegistryView::Bits64
                                                                                             : RegistryView::Default),
                      userData.put()) != ERROR_SUCCESS) {
        return;
    }
    for (const std::string& user : SubkeyNames(userData.get())) {
        const std::string componentsPath = user + "\\Components";
        UniqueHkey components;
        if (RegOpenKeyExA(userData.get(), componentsPath.c_str(), 0, KEY_READ, components.put()) != ERROR_SUCCESS) {
            continue;
        }
        for (const std::string& component : SubkeyNames(components.get())) {
            UniqueHkey products;
            if (RegOpenKeyExA(components.get(), component.c_str(), 0, KEY_READ, products.put()) != ERROR_SUCCESS) {
                continue;
            }
            for (const auto& [product, data] : TextValues(products.get())) {
                if (const auto keyPath = RegistryKeyPath(data)) {
                    owned_.push_back({Lowered(keyPath->first), keyPath->second,
                                      RootNameOf(HKEY_LOCAL_MACHINE) + UserDataPath + "\\" + componentsPath + "\\" +
                                          component + " (product " + product + ")"});
                }
            }
        }
    }
    std::sort(owned_.begin(), owned_.end(), [](const Owned& a, const Owned& b) { return a.path < b.path; });
}

std::string InstallerKeyPaths::OwnerOf(RepairTarget& target)
{
    if (target.IsOnDisk()) {
        return {};
    }
    if (!loaded_) {
        Load();
    }
    const std::string path = Lowered(target.FullPath());
    const bool isKey = target.AsRegistryKey() != nullptr;
    const RegistryView view = target.View();
    // Sorted, the entries at or below path follow one another from its place on.
    auto owned = std::lower_bound(owned_.begin(), owned_.end(), path,
                                  [](const Owned& entry, const std::string& key) { return entry.path < key; });
    for (; owned != owned_.end() && owned->path.compare(0, path.size(), path) == 0; ++owned) {
        const bool sameView = view == RegistryView::Default || (view == RegistryView::Bits64) == owned->bits64;
        const bool below = isKey && owned->path.size() > path.size() && owned->path[path.size()] == '\\';
        if (sameView && (owned->path.size() == path.size() || below)) {
            return owned->component;
        }
    }
    return {};
}
