// The scan configuration file ".\Corvadin.ini", read whole into memory and looked
// up by section and key (exact, case-sensitive, in byte order).
#pragma once

#include <map>
#include <string>

class IniStore {
public:
    using Section = std::map<std::string, std::string>;

    // Replaces the whole content with the file's; returns the number of lines read.
    // A missing or unreadable file leaves the store empty.
    int Load(const std::string& path);

    std::string Value(const std::string& section, const std::string& key) const;
    int SectionSize(const std::string& section) const;
    // The value of the n-th key of the section, in key order.
    std::string ValueAt(const std::string& section, int n) const;

private:
    const Section* Find(const std::string& section) const;

    std::map<std::string, Section> sections_;
};

// The store the scanners share, created empty on first use.
IniStore& SharedIniStore();

// Fills the shared store from path; true when at least one line was read.
bool LoadIniStore(const std::string& path);

// The log file named by LogName in section Common of the file at path.
std::string LogNameFromIni(const std::string& path);
