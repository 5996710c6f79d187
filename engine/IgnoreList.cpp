#include "engine/IgnoreList.h"

#include "engine/ScanIssue.h"
#include "registry/UniqueHandle.h"

#include <algorithm>

namespace {

constexpr DWORD MaxNameLength = 16384;

// The strings of REG_MULTI_SZ data, or nothing when the data is not exactly three strings.
bool SplitEntry(const std::vector<char>& data, IgnoredEntry& entry)
{
    std::vector<std::string> parts;
    for (size_t start = 0; start < data.size();) {
        const auto zero = std::find(data.begin() + static_cast<std::ptrdiff_t>(start), data.end(), '\0');
        const size_t end = static_cast<size_t>(zero - data.begin());
        if (end == start) {
            break;  // the empty string that ends the list
        }
        parts.emplace_back(data.data() + start, end - start);
        start = end + 1;
    }
    if (parts.size() != 3 || parts[0].empty() || parts[2].empty()) {
        return false;
    }
    entry = {parts[0], parts[1] == "-" ? std::string() : parts[1], parts[2]};
    return true;
}

}  // namespace

std::string IgnoredEntry::Key() const
{
    return TextDigest({category, view, target});
}

IgnoreList IgnoreList::Load(HKEY root, std::string keyPath)
{
    IgnoreList list;
    list.root_ = root;
    list.keyPath_ = std::move(keyPath);
    UniqueHkey key;
    if (RegOpenKeyExA(root, list.keyPath_.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return list;
    }
    std::vector<char> name(MaxNameLength);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = MaxNameLength;
        DWORD type = 0;
        DWORD size = 0;
        const LONG found = RegEnumValueA(key.get(), index, name.data(), &nameLength, nullptr, &type, nullptr, &size);
        if (found == ERROR_NO_MORE_ITEMS || (found != ERROR_SUCCESS && found != ERROR_MORE_DATA)) {
            break;
        }
        const std::string valueName(name.data(), nameLength);
        std::vector<char> data(size);
        IgnoredEntry entry;
        if (type != REG_MULTI_SZ ||
            RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                             &size) != ERROR_SUCCESS ||
            !SplitEntry(data, entry)) {
            list.damaged_.push_back(valueName);
            continue;
        }
        entry.valueName = valueName;
        list.entries_.push_back(std::move(entry));
    }
    return list;
}

IgnoredEntry IgnoreList::EntryFor(const std::string& category, const ScanIssue& issue)
{
    return {category, ViewName(issue.View()), issue.Target() ? issue.Target()->FullPath() : std::string()};
}

bool IgnoreList::Ignores(const std::string& category, const ScanIssue& issue) const
{
    const IgnoredEntry entry = EntryFor(category, issue);
    return std::find(entries_.begin(), entries_.end(), entry) != entries_.end();
}

bool IgnoreList::Add(const IgnoredEntry& entry)
{
    // The view is written as "-" when empty: an empty string would end the list early.
    const std::string data = entry.category + '\0' + (entry.view.empty() ? "-" : entry.view) + '\0' + entry.target +
                             '\0' + '\0';
    UniqueHkey key;
    if (entry.category.empty() || entry.target.empty() ||
        RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS ||
        RegSetValueExA(key.get(), entry.Key().c_str(), 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
        return false;
    }
    if (std::find(entries_.begin(), entries_.end(), entry) == entries_.end()) {
        entries_.push_back(entry);
        entries_.back().valueName = entry.Key();
    }
    return true;
}

bool IgnoreList::Remove(const IgnoredEntry& entry)
{
    const std::string name = entry.valueName.empty() ? entry.Key() : entry.valueName;
    if (RegDeleteKeyValueA(root_, keyPath_.c_str(), name.c_str()) != ERROR_SUCCESS) {
        return false;
    }
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const IgnoredEntry& e) { return e == entry && e.valueName == name; }),
                   entries_.end());
    return true;
}
