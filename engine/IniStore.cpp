#include "engine/IniStore.h"

#include <windows.h>

#include <iterator>
#include <vector>

namespace {

// The profile readers return zero-separated strings and cut what does not fit,
// returning size - 2 then; grow the buffer until the whole list fits.
template <typename Read>
std::vector<std::string> ReadStringList(Read read)
{
    std::vector<char> buffer(16384);
    DWORD length = 0;
    for (;;) {
        length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 26)) {
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> strings;
    const char* start = buffer.data();
    const char* end = buffer.data() + length;
    for (const char* p = start; p < end; ++p) {
        if (*p == '\0') {
            strings.emplace_back(start, p);
            start = p + 1;
        }
    }
    if (start < end) {
        strings.emplace_back(start, end);
    }
    return strings;
}

}  // namespace

int IniStore::Load(const std::string& path)
{
    sections_.clear();
    const char* file = path.c_str();
    const std::vector<std::string> names = ReadStringList(
        [file](char* buffer, DWORD size) { return GetPrivateProfileSectionNamesA(buffer, size, file); });
    int lines = 0;
    for (const std::string& name : names) {
        Section& section = sections_[name];
        const std::vector<std::string> entries = ReadStringList([&](char* buffer, DWORD size) {
            return GetPrivateProfileSectionA(name.c_str(), buffer, size, file);
        });
        for (const std::string& line : entries) {
            const size_t equals = line.find('=');
            if (equals == std::string::npos) {
                section[line] = line;
            } else {
                section[line.substr(0, equals)] = line.substr(equals + 1);
            }
            ++lines;
        }
    }
    return lines;
}

const IniStore::Section* IniStore::Find(const std::string& section) const
{
    const auto found = sections_.find(section);
    return found == sections_.end() ? nullptr : &found->second;
}

std::string IniStore::Value(const std::string& section, const std::string& key) const
{
    if (const Section* entries = Find(section)) {
        if (const auto found = entries->find(key); found != entries->end()) {
            return found->second;
        }
    }
    return {};
}

int IniStore::SectionSize(const std::string& section) const
{
    const Section* entries = Find(section);
    return entries ? static_cast<int>(entries->size()) : 0;
}

std::string IniStore::ValueAt(const std::string& section, int n) const
{
    const Section* entries = Find(section);
    if (!entries || n < 0 || n >= static_cast<int>(entries->size())) {
        return {};
    }
    return std::next(entries->begin(), n)->second;
}

IniStore& SharedIniStore()
{
    static IniStore store;
    return store;
}

bool LoadIniStore(const std::string& path)
{
    return SharedIniStore().Load(path) > 0;
}

std::string LogNameFromIni(const std::string& path)
{
    IniStore store;
    store.Load(path);
    return store.Value("Common", "LogName");
}
