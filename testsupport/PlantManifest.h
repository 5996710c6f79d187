// The record of everything a plant fixture made, kept in its scratch folder. Every
// registry entry is written here before it is made, so that removal can be exact
// even after a crash and from another process.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct ManifestEntry {
    enum Kind { Key, Parent, Value, Ini, IniFile, Count };

    ManifestEntry(Kind entryKind = Key, HKEY entryRoot = nullptr, std::string entryPath = {},
                  std::string entryName = {})
        : kind(entryKind), root(entryRoot), path(std::move(entryPath)), name(std::move(entryName))
    {
    }

    Kind kind;
    HKEY root;            // Key, Parent, Value
    std::string path;     // the key's path; the ini file for Ini and IniFile
    std::string name;     // the value's name; the key for Ini; the category tag for Count
    std::string section;  // Ini
    int valid = 0;        // Count
    int broken = 0;       // Count
};

// "HKLM", "HKCU", "HKCR", or empty for another root; and back (null when unknown).
std::string RootTag(HKEY root);
HKEY RootFromTag(const std::string& tag);

// One manifest line for the entry (without the line end); and back, false for a
// line that is not a manifest entry.
std::string FormatManifestEntry(const ManifestEntry& entry);
bool ParseManifestEntry(const std::string& line, ManifestEntry& entry);

// Every name a fixture makes carries this marker, or begins with the class prefix;
// removal touches nothing else.
bool CarriesPlantMarker(const std::string& name);
inline constexpr const char* PlantMarker = "CorvadinPlant";
inline constexpr const char* PlantClassPrefix = "{C0DAD1A5-";

class PlantManifest {
public:
    explicit PlantManifest(std::string path) : path_(std::move(path)) {}
    ~PlantManifest() { Close(); }
    PlantManifest(const PlantManifest&) = delete;
    PlantManifest& operator=(const PlantManifest&) = delete;

    const std::string& Path() const { return path_; }
    // Every entry of the file, in order; empty when there is none.
    std::vector<ManifestEntry> Read() const;
    // Hands each entry of the file to visit in order, holding one at a time (a million-entry plant's list is big).
    void ForEach(const std::function<void(const ManifestEntry&)>& visit) const;
    // Appends the entries and flushes them to disk before returning.
    bool Append(const std::vector<ManifestEntry>& entries);
    void Close();

private:
    std::string path_;
    FILE* file_ = nullptr;
};
