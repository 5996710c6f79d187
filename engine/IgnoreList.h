// The entries the user chose never to be shown again. Each is one REG_MULTI_SZ value under a registry key, holding
// the category, the registry view (empty where there is only one) and the full path of the target; scans leave
// such entries out, neither listed nor counted.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ScanIssue;

struct IgnoredEntry {
    std::string category;
    std::string view;
    std::string target;
    // The name of the value it was read from; empty for an entry not stored yet. Usually Key(), but a value
    // written by hand, by an older version or by a policy may have any name.
    std::string valueName{};
    // Sixteen hex digits derived from the three texts: the entry's value name and its key on the command line.
    std::string Key() const;
    // The target as lists show it, with its registry view where it has one: "HKEY_...\Run\x (32-bit)".
    std::string ShownTarget() const { return view.empty() ? target : target + " (" + view + ")"; }
    // The same entry, whatever value holds it.
    bool operator==(const IgnoredEntry& other) const
    {
        return category == other.category && view == other.view && target == other.target;
    }
};

class IgnoreList {
public:
    // Reads every entry of root\keyPath; a value that holds no entry (edited by hand, damaged) is passed over and
    // named in Damaged(). An absent key is an empty list.
    static IgnoreList Load(HKEY root, std::string keyPath);

    // The entry an issue of category makes.
    static IgnoredEntry EntryFor(const std::string& category, const ScanIssue& issue);
    bool Ignores(const std::string& category, const ScanIssue& issue) const;

    // Writes the entry's value, or deletes the value it was read from; false when the registry refused (no
    // administrator rights).
    bool Add(const IgnoredEntry& entry);
    bool Remove(const IgnoredEntry& entry);

    const std::vector<IgnoredEntry>& Entries() const noexcept { return entries_; }
    const std::vector<std::string>& Damaged() const noexcept { return damaged_; }

private:
    HKEY root_ = nullptr;
    std::string keyPath_;
    std::vector<IgnoredEntry> entries_;
    std::vector<std::string> damaged_;
};
