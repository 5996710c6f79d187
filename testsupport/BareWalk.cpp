#include "testsupport/BareWalk.h"

#include "registry/UniqueHandle.h"

#include <windows.h>

#include <cstring>
#include <memory>

namespace {

constexpr DWORD DataBytes = 4096;
constexpr DWORD NameBytes = 16384;

// What one walk holds: its count of entries, buffers for names and data, and the font folder.
struct Floor {
    int entries = 0;
    char name[NameBytes];
    char data[DataBytes + 2];
    char text[DataBytes];
    std::string fontFolder;
};

void Probe(const char* path)
{
    GetFileAttributesA(path);
}

// The program of a command line, probed: the quoted part, or the text up to and with its first ".exe".
void ProbeProgram(const char* text)
{
    if (text[0] == '"') {
        const char* end = std::strchr(text + 1, '"');
        Probe(std::string(text + 1, end ? end : text + std::strlen(text)).c_str());
        return;
    }
    const char* exe = std::strstr(text, ".exe");
    Probe(exe ? std::string(text, exe + 4).c_str() : text);
}

// One text value below parent (subkey may name a key further down), with one call; empty when it is not there.
char* Text(HKEY parent, const char* subkey, const char* value, Floor& floor)
{
    DWORD bytes = DataBytes;
    if (RegGetValueA(parent, subkey, value, RRF_RT_REG_SZ, nullptr, floor.text, &bytes) != ERROR_SUCCESS) {
        floor.text[0] = 0;
    }
    return floor.text;
}

std::string Below(const char* name, const char* subkey)
{
    return std::string(name) + "\\" + subkey;
}

// Whether either class half holds the key, asked as the merged view answers it: the user's half first.
void ProbeClass(const std::string& path)
{
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        UniqueHkey key;
        if (RegOpenKeyExA(root, ("Software\\Classes\\" + path).c_str(), 0, KEY_QUERY_VALUE, key.put()) ==
            ERROR_SUCCESS) {
            return;
        }
    }
}

using KeyRead = void (*)(HKEY parent, const char* name, Floor& floor);
using ValueRead = void (*)(const char* name, DWORD type, const char* data, Floor& floor);

void DefaultValue(HKEY parent, const char* name, Floor& floor)
{
    ProbeProgram(Text(parent, name, nullptr, floor));
}

void ValueText(const char*, DWORD type, const char* data, Floor&)
{
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        ProbeProgram(data);
    }
}

void AppPath(HKEY parent, const char* name, Floor& floor)
{
    Probe(Text(parent, name, "Path", floor));
}

void Uninstall(HKEY parent, const char* name, Floor& floor)
{
    ProbeProgram(Text(parent, name, "UninstallString", floor));
}

void HelpFile(const char* name, DWORD, const char* data, Floor&)
{
    Probe((std::string(data) + name).c_str());
}

void FileExtension(HKEY, const char* name, Floor&)
{
    ProbeClass(name);
}

void FileClass(HKEY parent, const char* name, Floor& floor)
{
    char* icon = Text(parent, Below(name, "DefaultIcon").c_str(), nullptr, floor);
    if (char* index = std::strrchr(icon, ',')) {
        *index = 0;
    }
    Probe(icon);
    UniqueHkey shell;
    if (RegOpenKeyExA(parent, Below(name, "Shell").c_str(), 0, KEY_READ, shell.put()) != ERROR_SUCCESS) {
        return;
    }
    char verb[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof verb;
        if (RegEnumKeyExA(shell.get(), index, verb, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return;
        }
        ProbeProgram(Text(shell.get(), Below(verb, "Command").c_str(), nullptr, floor));
    }
}

void FontFile(const char*, DWORD, const char* data, Floor& floor)
{
    Probe(data[0] && data[1] == ':' ? data : (floor.fontFolder + data).c_str());
}

void RecentFile(const char* name, DWORD type, const char* data, Floor& floor)
{
    if (std::strcmp(name, "MRUList") != 0) {
        ValueText(name, type, data, floor);
    }
}

void SharedDll(const char* name, DWORD, const char*, Floor&)
{
    Probe(name);
}

void Share(const char*, DWORD type, const char* data, Floor&)
{
    for (const char* part = data; type == REG_MULTI_SZ && *part; part += std::strlen(part) + 1) {
        if (std::strncmp(part, "Path=", 5) == 0) {
            Probe(part + 5);
        }
    }
}

void ComClass(HKEY parent, const char* name, Floor& floor)
{
    Probe(Text(parent, Below(name, "InprocServer32").c_str(), nullptr, floor));
}

void BrowserHelper(HKEY, const char* name, Floor&)
{
    ProbeClass(Below("CLSID", name));
}

// Calls read with each subkey name of parent\path, in a buffer of its own (the caller's name stays intact).
template <class Read>
void EachInner(HKEY parent, const std::string& path, Read read)
{
    UniqueHkey key;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        return;
    }
    char inner[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof inner;
        if (RegEnumKeyExA(key.get(), index, inner, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return;
        }
        read(key.get(), inner);
    }
}

// A class's in-process server, probed in the half that holds it.
void ProbeServer(const char* id, Floor& floor)
{
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const std::string clsid = std::string("Software\\Classes\\CLSID\\") + id;
        DWORD bytes = DataBytes;
        const LONG read = RegGetValueA(root, (clsid + "\\InprocServer32").c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                                       floor.text, &bytes);
        if (read == ERROR_SUCCESS) {
            Probe(floor.text);
            return;
        }
    }
}

void TypeLibrary(HKEY parent, const char* name, Floor& floor)
{
    EachInner(parent, name, [&](HKEY library, const char* version) {
        EachInner(library, version, [&](HKEY versionKey, const char* locale) {
            for (const char* platform : {"win32", "win64"}) {
                Probe(Text(versionKey, (Below(locale, platform)).c_str(), nullptr, floor));
            }
        });
    });
}

void Interface(HKEY parent, const char* name, Floor& floor)
{
    ProbeClass("CLSID\\" + std::string(Text(parent, Below(name, "ProxyStubClsid32").c_str(), nullptr, floor)));
    if (*Text(parent, Below(name, "TypeLib").c_str(), nullptr, floor)) {
        ProbeClass("TypeLib\\" + std::string(floor.text));
    }
}

// A class's handler lists, or an overlay's class.
void ShellExtension(HKEY parent, const char* name, Floor& floor)
{
    UniqueHkey shellex;
    if (RegOpenKeyExA(parent, Below(name, "shellex").c_str(), 0, KEY_READ, shellex.put()) != ERROR_SUCCESS) {
        return;
    }
    for (const char* list : {"ContextMenuHandlers", "PropertySheetHandlers", "DragDropHandlers", "CopyHookHandlers"}) {
        EachInner(shellex.get(), list, [&](HKEY handlers, const char* handler) {
            ProbeServer(handler[0] == '{' ? handler : Text(handlers, handler, nullptr, floor), floor);
        });
    }
    if (*Text(shellex.get(), "IconHandler", nullptr, floor)) {
        ProbeServer(std::string(floor.text).c_str(), floor);
    }
}

void ApprovedHandler(const char* name, DWORD, const char*, Floor& floor)
{
    ProbeServer(name, floor);
}

void ProgramNamed(const char* name, DWORD, const char*, Floor&)
{
    std::string path = name;
    for (const char* suffix : {".FriendlyAppName", ".ApplicationCompany"}) {
        const size_t at = path.rfind(suffix);
        if (at != std::string::npos && at + std::strlen(suffix) == path.size()) {
            path.resize(at);
        }
    }
    Probe(path.c_str());
}

void SoundApplication(HKEY parent, const char* name, Floor& floor)
{
    EachInner(parent, name, [&](HKEY application, const char* event) {
        EachInner(application, event, [&](HKEY eventKey, const char* scheme) {
            Probe(Text(eventKey, scheme, nullptr, floor));
        });
    });
}

void Service(HKEY parent, const char* name, Floor& floor)
{
    DWORD type = 0;
    DWORD bytes = sizeof type;
    if (RegGetValueA(parent, name, "Type", RRF_RT_REG_DWORD, nullptr, &type, &bytes) != ERROR_SUCCESS) {
        return;
    }
    const char* image = Text(parent, name, "ImagePath", floor);
    if (std::strstr(image, "svchost") == nullptr) {
        ProbeProgram(image);
        return;
    }
    Probe(Text(parent, Below(name, "Parameters").c_str(), "ServiceDll", floor));
}

// What a category reads of each entry, by its tag; categories not named here read the default ones.
struct Reads {
    const char* tag;
    KeyRead onKey;
    ValueRead onValue;
};

const Reads KnownReads[] = {
    {"apppath", AppPath, ValueText},     {"uninstall", Uninstall, ValueText},
    {"helpfile", DefaultValue, HelpFile}, {"fileext", FileExtension, ValueText},
    {"fileextref", FileClass, ValueText}, {"font", DefaultValue, FontFile},
    {"mru", DefaultValue, RecentFile},    {"shareddll", DefaultValue, SharedDll},
    {"sharedfolder", AppPath, Share},     {"run", DefaultValue, ValueText},
    {"com", ComClass, ValueText},         {"bho", BrowserHelper, ValueText},
    {"typelib", TypeLibrary, ValueText},  {"interface", Interface, ValueText},
    {"shellext", ShellExtension, ApprovedHandler}, {"muicache", DefaultValue, ProgramNamed},
    {"sound", SoundApplication, ValueText}, {"compat", DefaultValue, ProgramNamed},
    {"installerfolder", DefaultValue, ProgramNamed}, {"service", Service, ValueText},
};

Reads ReadsOf(const CategoryInfo& category)
{
    for (const Reads& reads : KnownReads) {
        if (std::strcmp(reads.tag, category.tag) == 0) {
            return reads;
        }
    }
    return {category.tag, DefaultValue, ValueText};
}

void EachSubkey(HKEY parent, KeyRead read, Floor& floor)
{
    for (DWORD index = 0;; ++index) {
        DWORD length = NameBytes;
        const LONG result = RegEnumKeyExA(parent, index, floor.name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        ++floor.entries;
        if (result == ERROR_SUCCESS) {
            read(parent, floor.name, floor);
        }
    }
}

// Values are read with their names, one call each.
void EachValue(HKEY parent, ValueRead read, Floor& floor)
{
    for (DWORD index = 0;; ++index) {
        DWORD length = NameBytes;
        DWORD type = 0;
        DWORD bytes = DataBytes;
        const LONG result = RegEnumValueA(parent, index, floor.name, &length, nullptr, &type,
                                          reinterpret_cast<BYTE*>(floor.data), &bytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        ++floor.entries;
        if (result == ERROR_SUCCESS) {
            floor.data[bytes] = 0;
            floor.data[bytes + 1] = 0;
            read(floor.name, type, floor.data, floor);
        }
    }
}

// The last write and the counts of entries: alike in both views only where they are one key.
bool LooksAlike(HKEY root, const std::string& path)
{
    FILETIME written[2] = {};
    DWORD counts[2][2] = {};
    const REGSAM views[2] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    for (int i = 0; i < 2; ++i) {
        UniqueHkey key;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | views[i], key.put()) != ERROR_SUCCESS ||
            RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &counts[i][0], nullptr, nullptr, &counts[i][1],
                             nullptr, nullptr, nullptr, &written[i]) != ERROR_SUCCESS) {
            return false;
        }
    }
    return counts[0][0] == counts[1][0] && counts[0][1] == counts[1][1] &&
           CompareFileTime(&written[0], &written[1]) == 0;
}

std::vector<REGSAM> ViewsOf(const StartKey& start, const std::string& path)
{
    BOOL wow64 = FALSE;
    const bool windows64 = sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
    if (start.views == StartKey::Views::Shared || !windows64 || LooksAlike(start.root, path)) {
        return {0};
    }
    return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
}

// Walks one start key in every view it has; true when it exists in one.
bool WalkStart(const StartKey& start, const Reads& reads, Floor& floor)
{
    const std::string path = std::string(start.parentPath) + "\\" + start.name;
    bool exists = false;
    for (const REGSAM view : ViewsOf(start, path)) {
        UniqueHkey key;
        if (RegOpenKeyExA(start.root, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) {
            continue;
        }
        exists = true;
        if (start.walk == StartKey::Walk::Subkeys) {
            EachSubkey(key.get(), reads.onKey, floor);
        } else {
            EachValue(key.get(), reads.onValue, floor);
        }
    }
    return exists;
}

// Every file below folder listed, and each link file read.
void WalkFolder(const std::string& folder, Floor& floor)
{
    WIN32_FIND_DATAA found;
    UniqueFileSearch search(FindFirstFileA((folder + "\\*").c_str(), &found));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileA(search.get(), &found)) {
        const std::string path = folder + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) {
                WalkFolder(path, floor);
            }
            continue;
        }
        ++floor.entries;
        UniqueFileHandle link(
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD read = 0;
        ReadFile(link.get(), floor.data, DataBytes, &read, nullptr);
    }
}

}  // namespace

int WalkBare(const CategoryInfo& category, const std::vector<std::string>& shortcutFolders)
{
    const auto floor = std::make_unique<Floor>();
    char fonts[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsA("%SystemRoot%\\Fonts\\", fonts, MAX_PATH);
    floor->fontFolder = length > 0 && length <= MAX_PATH ? fonts : "";
    const Reads reads = ReadsOf(category);
    bool previousExists = false;
    for (const StartKey& start : category.keys) {
        const bool skip = start.onlyWithoutPrevious && previousExists;
        previousExists = !skip && WalkStart(start, reads, *floor);
    }
    if (category.keys.empty()) {
        for (const std::string& folder : shortcutFolders) {
            WalkFolder(folder, *floor);
        }
    }
    return floor->entries;
}
