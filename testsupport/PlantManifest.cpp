#include "testsupport/PlantManifest.h"

#include <io.h>

#include <cctype>
#include <fstream>

namespace {

struct RootName {
    HKEY root;
    const char* tag;
};
const RootName Roots[] = {
    {HKEY_LOCAL_MACHINE, "HKLM"},
    {HKEY_CURRENT_USER, "HKCU"},
    {HKEY_CLASSES_ROOT, "HKCR"},
};

struct KindName {
    ManifestEntry::Kind kind;
    const char* word;
};
const KindName Kinds[] = {
    {ManifestEntry::Key, "key"},     {ManifestEntry::Parent, "parent"}, {ManifestEntry::Value, "value"},
    {ManifestEntry::Ini, "ini"},     {ManifestEntry::IniFile, "inifile"}, {ManifestEntry::Count, "count"},
};

std::vector<std::string> SplitAtTabs(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

bool ParseNumber(const std::string& text, int& number)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    number = std::stoi(text);
    return true;
}

}  // namespace

std::string RootTag(HKEY root)
{
    for (const RootName& entry : Roots) {
        if (entry.root == root) {
            return entry.tag;
        }
    }
    return {};
}

HKEY RootFromTag(const std::string& tag)
{
    for (const RootName& entry : Roots) {
        if (tag == entry.tag) {
            return entry.root;
        }
    }
    return nullptr;
}

std::string FormatManifestEntry(const ManifestEntry& entry)
{
    std::string line;
    for (const KindName& kind : Kinds) {
        if (kind.kind == entry.kind) {
            line = kind.word;
        }
    }
    switch (entry.kind) {
    case ManifestEntry::Key:
    case ManifestEntry::Parent:
        return line + "\t" + RootTag(entry.root) + "\t" + entry.path;
    case ManifestEntry::Value:
        return line + "\t" + RootTag(entry.root) + "\t" + entry.path + "\t" + entry.name;
    case ManifestEntry::Ini:
        return line + "\t" + entry.path + "\t" + entry.section + "\t" + entry.name;
    case ManifestEntry::IniFile:
        return line + "\t" + entry.path;
    case ManifestEntry::Count:
        return line + "\t" + entry.name + "\t" + std::to_string(entry.valid) + "\t" + std::to_string(entry.broken);
    }
    return line;
}

bool ParseManifestEntry(const std::string& line, ManifestEntry& entry)
{
    const std::vector<std::string> fields = SplitAtTabs(line);
    const KindName* kind = nullptr;
    for (const KindName& candidate : Kinds) {
        if (fields[0] == candidate.word) {
            kind = &candidate;
        }
    }
    if (!kind) {
        return false;
    }
    entry = ManifestEntry(kind->kind);
    switch (kind->kind) {
    case ManifestEntry::Key:
    case ManifestEntry::Parent:
        if (fields.size() != 3) {
            return false;
        }
        entry.root = RootFromTag(fields[1]);
        entry.path = fields[2];
        return entry.root && !entry.path.empty();
    case ManifestEntry::Value:
        if (fields.size() != 4) {
            return false;
        }
        entry.root = RootFromTag(fields[1]);
        entry.path = fields[2];
        entry.name = fields[3];
        return entry.root && !entry.path.empty();
    case ManifestEntry::Ini:
        if (fields.size() != 4) {
            return false;
        }
        entry.path = fields[1];
        entry.section = fields[2];
        entry.name = fields[3];
        return !entry.path.empty() && !entry.section.empty() && !entry.name.empty();
    case ManifestEntry::IniFile:
        entry.path = fields.size() == 2 ? fields[1] : std::string();
        return !entry.path.empty();
    case ManifestEntry::Count:
        entry.name = fields.size() == 4 ? fields[1] : std::string();
        return fields.size() == 4 && ParseNumber(fields[2], entry.valid) && ParseNumber(fields[3], entry.broken);
    }
    return false;
}

bool CarriesPlantMarker(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("corvadinplant") != std::string::npos || name.rfind(PlantClassPrefix, 0) == 0;
}

std::vector<ManifestEntry> PlantManifest::Read() const
{
    std::vector<ManifestEntry> entries;
    ForEach([&](const ManifestEntry& entry) { entries.push_back(entry); });
    return entries;
}

void PlantManifest::ForEach(const std::function<void(const ManifestEntry&)>& visit) const
{
    std::ifstream in(path_, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        ManifestEntry entry;
        if (ParseManifestEntry(line, entry)) {
            visit(entry);
        }
    }
}

bool PlantManifest::Append(const std::vector<ManifestEntry>& entries)
{
    if (!file_) {
        file_ = fopen(path_.c_str(), "ab");
        if (!file_) {
            return false;
        }
    }
    std::string text;
    for (const ManifestEntry& entry : entries) {
        text += FormatManifestEntry(entry);
        text += '\n';
    }
    // On disk before the entries are made: removal must know of anything that exists.
    return fwrite(text.data(), 1, text.size(), file_) == text.size() && fflush(file_) == 0 &&
           _commit(_fileno(file_)) == 0;
}

void PlantManifest::Close()
{
    if (file_) {
        fclose(file_);
        file_ = nullptr;
    }
}
