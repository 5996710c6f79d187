// corvadin-bench: plants a synthetic registry with the planting fixture at one or more sizes (a tenth of every kind
// broken), runs a full scan with the scanners of the window, and prints per category and in total: entries visited,
// issues found, wall time, the time of a bare walk measured in the same run and the ratio to it, and the peak
// working set. The bare walk answers the same questions as cheaply as Windows allows and shares no code with the
// scanners: each key opened relative to its parent's handle with read access, one registry call per value read,
// one GetFileAttributes per path, and just enough parsing to find the path. Its shortcut row only lists and reads
// the link files.
//
// Quick run (the default, 1,000 entries):   build/x64/wine-exec.sh build/x64/testsupport/corvadin-bench.exe
// The full table:                           ... corvadin-bench.exe --sizes 10000,100000,1000000
// It works in a folder of its own (default C:\CorvadinBench: ini file, log, planted files) and removes what it
// planted after each size, also after a failed plant.
#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "engine/ScanSession.h"
#include "engine/ScannerList.h"
#include "registry/OperationLog.h"
#include "registry/ProgressSink.h"
#include "registry/UniqueHandle.h"
#include "testsupport/PlantFixture.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

// The bytes the program holds on its heap right now, so that the memory an issue costs can be told.
namespace {
std::atomic<long long> heapBytes{0};
}

// The process heap rather than malloc, whose pairing with a replaced operator delete the compiler would question.
void* operator new(size_t size)
{
    void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!block) {
        throw std::bad_alloc();
    }
    heapBytes.fetch_add(static_cast<long long>(HeapSize(GetProcessHeap(), 0, block)), std::memory_order_relaxed);
    return block;
}

void operator delete(void* block) noexcept
{
    if (block) {
        heapBytes.fetch_sub(static_cast<long long>(HeapSize(GetProcessHeap(), 0, block)), std::memory_order_relaxed);
        HeapFree(GetProcessHeap(), 0, block);
    }
}

void operator delete(void* block, size_t) noexcept
{
    operator delete(block);
}

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Counts the entries a walk visits: every walk steps its sink once per entry.
class CountingSink : public ProgressSink {
public:
    int Range() const override { return 0; }
    int Step(int delta) override { return steps += delta; }
    void SetRange(int) override {}
    int Position() const override { return steps; }
    void SetPosition(int) override {}
    void SetText(const std::string&) override {}

    int steps = 0;
};

// ---- the bare walk -------------------------------------------------------------------------------------------

constexpr DWORD TextChars = 4096;

// What one bare walk holds: its count of entries, a buffer for value data, and what several categories look up.
struct Floor {
    int entries = 0;
    wchar_t data[TextChars + 2];
    std::wstring fontFolder;
    UniqueHkey classes;  // HKEY_CLASSES_ROOT\CLSID
};

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The program of a command line: the quoted part, or the text up to and with its first ".exe".
std::wstring ProgramOf(const std::wstring& text)
{
    if (!text.empty() && text[0] == L'"') {
        return text.substr(1, text.find(L'"', 1) - 1);
    }
    const size_t exe = text.find(L".exe");
    return exe == std::wstring::npos ? text : text.substr(0, exe + 4);
}

// One value of key as text (empty when absent or not text), with one registry call.
std::wstring Text(HKEY key, const wchar_t* name, Floor& floor)
{
    DWORD type = 0;
    DWORD bytes = TextChars * sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(floor.data), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    floor.data[bytes / sizeof(wchar_t)] = 0;
    return floor.data;
}

using KeyCheck = void (*)(HKEY key, const wchar_t* name, Floor& floor);
using ValueCheck = void (*)(const wchar_t* name, DWORD type, const wchar_t* data, Floor& floor);

void EachSubkey(HKEY parent, KeyCheck check, Floor& floor)
{
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LONG result = RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        ++floor.entries;
        UniqueHkey key;
        if (result == ERROR_SUCCESS && RegOpenKeyExW(parent, name, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
            check(key.get(), name, floor);
        }
    }
}

// Values are read with their names, one call each.
void EachValue(HKEY parent, ValueCheck check, Floor& floor)
{
    wchar_t name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = 16384;
        DWORD type = 0;
        DWORD bytes = TextChars * sizeof(wchar_t);
        const LONG result = RegEnumValueW(parent, index, name, &length, nullptr, &type,
                                          reinterpret_cast<BYTE*>(floor.data), &bytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        ++floor.entries;
        if (result == ERROR_SUCCESS) {
            floor.data[bytes / sizeof(wchar_t)] = 0;
            floor.data[bytes / sizeof(wchar_t) + 1] = 0;
            check(name, type, floor.data, floor);
        }
    }
}

void AppPath(HKEY key, const wchar_t*, Floor& floor)
{
    Exists(Text(key, L"Path", floor));
}

void Uninstall(HKEY key, const wchar_t*, Floor& floor)
{
    Exists(ProgramOf(Text(key, L"UninstallString", floor)));
}

void HelpFile(const wchar_t* name, DWORD, const wchar_t* data, Floor&)
{
    Exists(std::wstring(data) + name);
}

void FileExtension(HKEY, const wchar_t* name, Floor&)
{
    UniqueHkey key;
    RegOpenKeyExW(HKEY_CLASSES_ROOT, name, 0, KEY_READ, key.put());
}

void Verb(HKEY verb, const wchar_t*, Floor& floor)
{
    UniqueHkey command;
    if (RegOpenKeyExW(verb, L"Command", 0, KEY_READ, command.put()) == ERROR_SUCCESS) {
        Exists(ProgramOf(Text(command.get(), L"", floor)));
    }
}

void FileClass(HKEY key, const wchar_t*, Floor& floor)
{
    UniqueHkey icon;
    if (RegOpenKeyExW(key, L"DefaultIcon", 0, KEY_READ, icon.put()) == ERROR_SUCCESS) {
        const std::wstring text = Text(icon.get(), L"", floor);
        Exists(text.substr(0, text.rfind(L',')));
    }
    UniqueHkey shell;
    if (RegOpenKeyExW(key, L"Shell", 0, KEY_READ, shell.put()) == ERROR_SUCCESS) {
        EachSubkey(shell.get(), Verb, floor);
    }
}

void FontFile(const wchar_t*, DWORD, const wchar_t* data, Floor& floor)
{
    Exists(data[0] && data[1] == L':' ? std::wstring(data) : floor.fontFolder + data);
}

void RecentFile(const wchar_t* name, DWORD, const wchar_t* data, Floor&)
{
    if (wcscmp(name, L"MRUList") != 0) {
        Exists(ProgramOf(data));
    }
}

void SharedDll(const wchar_t* name, DWORD, const wchar_t*, Floor&)
{
    Exists(name);
}

void Share(const wchar_t*, DWORD type, const wchar_t* data, Floor&)
{
    for (const wchar_t* part = data; type == REG_MULTI_SZ && *part; part += wcslen(part) + 1) {
        if (wcsncmp(part, L"Path=", 5) == 0) {
            Exists(part + 5);
        }
    }
}

void LanManShare(HKEY key, const wchar_t*, Floor& floor)
{
    Exists(Text(key, L"Path", floor));
}

void StartupProgram(const wchar_t*, DWORD, const wchar_t* data, Floor&)
{
    Exists(ProgramOf(data));
}

void ComClass(HKEY key, const wchar_t*, Floor& floor)
{
    UniqueHkey server;
    if (RegOpenKeyExW(key, L"InprocServer32", 0, KEY_READ, server.put()) == ERROR_SUCCESS) {
        Exists(Text(server.get(), L"", floor));
    }
}

void BrowserHelper(HKEY, const wchar_t* name, Floor& floor)
{
    UniqueHkey key;
    RegOpenKeyExW(floor.classes.get(), name, 0, KEY_READ, key.put());
}

// Below an entry: each subkey opened, not counted as an entry of its own.
template <class Check>
void EachInner(HKEY parent, Check check)
{
    wchar_t name[256];
    DWORD length = 256;
    for (DWORD index = 0; RegEnumKeyExW(parent, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                          ERROR_NO_MORE_ITEMS;
         ++index, length = 256) {
        UniqueHkey key;
        if (RegOpenKeyExW(parent, name, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
            check(key.get(), name);
        }
    }
}

// The text of a subkey's default value.
std::wstring SubkeyText(HKEY key, const wchar_t* subkey, Floor& floor)
{
    UniqueHkey below;
    return RegOpenKeyExW(key, subkey, 0, KEY_READ, below.put()) == ERROR_SUCCESS ? Text(below.get(), L"", floor)
                                                                                  : std::wstring();
}

void TypeLibrary(HKEY library, const wchar_t*, Floor& floor)
{
    EachInner(library, [&](HKEY version, const wchar_t*) {
        EachInner(version, [&](HKEY locale, const wchar_t*) {
            for (const wchar_t* platform : {L"win32", L"win64"}) {
                Exists(SubkeyText(locale, platform, floor));
            }
        });
    });
}

void ClassServer(const std::wstring& id, Floor& floor)
{
    UniqueHkey key;
    if (RegOpenKeyExW(floor.classes.get(), id.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
        Exists(SubkeyText(key.get(), L"InprocServer32", floor));
    }
}

void Interface(HKEY key, const wchar_t*, Floor& floor)
{
    UniqueHkey link;
    RegOpenKeyExW(floor.classes.get(), SubkeyText(key, L"ProxyStubClsid32", floor).c_str(), 0, KEY_READ, link.put());
    SubkeyText(key, L"TypeLib", floor);
}

void ShellClass(HKEY key, const wchar_t*, Floor& floor)
{
    UniqueHkey handlers;
    if (RegOpenKeyExW(key, L"shellex\\ContextMenuHandlers", 0, KEY_READ, handlers.put()) == ERROR_SUCCESS) {
        EachInner(handlers.get(), [&](HKEY handler, const wchar_t*) { ClassServer(Text(handler, L"", floor), floor); });
    }
}

void Overlay(HKEY key, const wchar_t*, Floor& floor)
{
    ClassServer(Text(key, L"", floor), floor);
}

void Approved(const wchar_t* name, DWORD, const wchar_t*, Floor& floor)
{
    ClassServer(name, floor);
}

void MuiCache(const wchar_t* name, DWORD, const wchar_t*, Floor&)
{
    const std::wstring path = name;
    Exists(path.substr(0, path.rfind(L".FriendlyAppName")));
}

// Where a category's scanner looks: a start key whose subkeys or values are walked, in both registry views where
// 64-bit Windows keeps them apart.
struct FloorStart {
    HKEY root;
    const wchar_t* path;
    KeyCheck onKey;
    ValueCheck onValue;
    bool apart = false;
};

#define CURRENT_VERSION L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion"

// In the order of the categories; shortcuts walk folders instead.
const std::vector<FloorStart>& FloorTable(Category category)
{
    static const std::vector<FloorStart> table[CategoryCount] = {
        {{HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\App Paths", AppPath, nullptr}},
        {{HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Uninstall", Uninstall, nullptr, true}},
        {{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\Help", nullptr, HelpFile, true},
         {HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\HTML Help", nullptr, HelpFile, true}},
        {{HKEY_CURRENT_USER, CURRENT_VERSION L"\\Explorer\\FileExts", FileExtension, nullptr}},
        {{HKEY_CURRENT_USER, L"Software\\Classes", FileClass, nullptr},
         {HKEY_LOCAL_MACHINE, L"Software\\Classes", FileClass, nullptr}},
        {{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", nullptr, FontFile}},
        {{HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Explorer\\RunMRU", nullptr, RecentFile, true},
         {HKEY_CURRENT_USER, CURRENT_VERSION L"\\Explorer\\RunMRU", nullptr, RecentFile}},
        {{HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\SharedDLLs", nullptr, SharedDll, true},
         {HKEY_CURRENT_USER, CURRENT_VERSION L"\\SharedDLLs", nullptr, SharedDll}},
        {{HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\lanmanserver\\Shares", nullptr, Share},
         {HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Network\\LanMan", LanManShare, nullptr, true}},
        {{HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Run", nullptr, StartupProgram, true},
         {HKEY_CURRENT_USER, CURRENT_VERSION L"\\Run", nullptr, StartupProgram}},
        {{HKEY_CURRENT_USER, L"Software\\Classes\\CLSID", ComClass, nullptr, true},
         {HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", ComClass, nullptr, true}},
        {{HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Explorer\\Browser Helper Objects", BrowserHelper, nullptr, true}},
        {},
        {{HKEY_CURRENT_USER, L"Software\\Classes\\TypeLib", TypeLibrary, nullptr},
         {HKEY_LOCAL_MACHINE, L"Software\\Classes\\TypeLib", TypeLibrary, nullptr}},
        {{HKEY_CURRENT_USER, L"Software\\Classes\\Interface", Interface, nullptr, true},
         {HKEY_LOCAL_MACHINE, L"Software\\Classes\\Interface", Interface, nullptr, true}},
        {{HKEY_CURRENT_USER, L"Software\\Classes", ShellClass, nullptr},
         {HKEY_LOCAL_MACHINE, L"Software\\Classes", ShellClass, nullptr},
         {HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Explorer\\ShellIconOverlayIdentifiers", Overlay, nullptr, true},
         {HKEY_LOCAL_MACHINE, CURRENT_VERSION L"\\Shell Extensions\\Approved", nullptr, Approved, true}},
        {{HKEY_CURRENT_USER, L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache", nullptr,
          MuiCache},
         {HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache", nullptr, MuiCache}},
    };
    return table[static_cast<size_t>(category)];
}

// Every file below folder listed, and each link file read.
void WalkFolder(const std::wstring& folder, Floor& floor)
{
    WIN32_FIND_DATAW found;
    UniqueFileSearch search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &found)) {
        const std::wstring path = folder + L"\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) {
                WalkFolder(path, floor);
            }
            continue;
        }
        ++floor.entries;
        UniqueFileHandle link(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                          nullptr));
        DWORD read = 0;
        ReadFile(link.get(), floor.data, sizeof floor.data, &read, nullptr);
    }
}

// The last write and the counts of entries: alike in both views only where they are one key.
bool LooksAlike(HKEY root, const wchar_t* path)
{
    FILETIME written[2] = {};
    DWORD counts[2][2] = {};
    const REGSAM views[2] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    for (int i = 0; i < 2; ++i) {
        UniqueHkey key;
        if (RegOpenKeyExW(root, path, 0, KEY_READ | views[i], key.put()) != ERROR_SUCCESS ||
            RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &counts[i][0], nullptr, nullptr, &counts[i][1],
                             nullptr, nullptr, nullptr, &written[i]) != ERROR_SUCCESS) {
            return false;
        }
    }
    return counts[0][0] == counts[1][0] && counts[0][1] == counts[1][1] &&
           CompareFileTime(&written[0], &written[1]) == 0;
}

std::vector<REGSAM> ViewsOf(const FloorStart& start)
{
    BOOL wow64 = FALSE;
    const bool windows64 = sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
    if (!start.apart || !windows64 || LooksAlike(start.root, start.path)) {
        return {0};
    }
    return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
}

int WalkBare(Category category)
{
    const auto floor = std::make_unique<Floor>();
    wchar_t fonts[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsW(L"%SystemRoot%\\Fonts\\", fonts, MAX_PATH);
    floor->fontFolder = length > 0 && length <= MAX_PATH ? fonts : L"";
    RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, floor->classes.put());
    for (const FloorStart& start : FloorTable(category)) {
        for (const REGSAM view : ViewsOf(start)) {
            UniqueHkey key;
            if (RegOpenKeyExW(start.root, start.path, 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) {
                continue;
            }
            if (start.onKey) {
                EachSubkey(key.get(), start.onKey, *floor);
            } else {
                EachValue(key.get(), start.onValue, *floor);
            }
        }
    }
    if (category == Category::Shortcut) {
        const IniStore& ini = SharedIniStore();
        for (int i = 0; i < ini.SectionSize("Shortcut"); ++i) {
            const std::string folder = ini.ValueAt("Shortcut", i);
            WalkFolder(std::wstring(folder.begin(), folder.end()), *floor);
        }
    }
    return floor->entries;
}

// ---- the table -----------------------------------------------------------------------------------------------

struct Row {
    std::string category;
    int entries = 0;
    int issues = 0;
    int broken = 0;
    double seconds = 0;
    int floorEntries = 0;
    double floorSeconds = 0;
    double peakMegabytes = 0;
};

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}

void PrintRow(const Row& row)
{
    const double ratio = row.floorSeconds > 0 ? row.seconds / row.floorSeconds : 0;
    std::printf("%-26s %9d %8d %8d %9.2f %9d %9.2f %6.2f %8.1f\n", row.category.c_str(), row.entries, row.issues,
                row.broken, row.seconds, row.floorEntries, row.floorSeconds, ratio, row.peakMegabytes);
    std::fflush(stdout);
}

void AddTo(Row& total, const Row& row)
{
    total.entries += row.entries;
    total.issues += row.issues;
    total.broken += row.broken;
    total.seconds += row.seconds;
    total.floorEntries += row.floorEntries;
    total.floorSeconds += row.floorSeconds;
    total.peakMegabytes = row.peakMegabytes;
}

// The scan of one category into list, then its bare walk.
Row MeasureCategory(Category category, RegistryScanner& scanner, IssueList& list, const PlantFixture& fixture)
{
    CountingSink sink;
    scanner.SetProgress(&sink);
    scanner.ClearStop();
    const Clock::time_point start = Clock::now();
    scanner.Scan(&list);
    Row row{scanner.Name(), sink.steps, list.Count(), fixture.Broken(category), SecondsSince(start)};
    scanner.SetProgress(nullptr);
    const Clock::time_point floorStart = Clock::now();
    row.floorEntries = WalkBare(category);
    row.floorSeconds = SecondsSince(floorStart);
    row.peakMegabytes = PeakMegabytes();
    return row;
}

// The texts an issue holds: its description, its source and its target's names.
size_t TextBytes(const IssueList& list)
{
    size_t bytes = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const ScanIssue& issue = *list.At(i);
        bytes += issue.Description().size() + issue.Source().size() + 2;
        if (const RepairTarget* target = issue.Target()) {
            bytes += target->FullPath().size() + 1;
        }
    }
    return bytes;
}

// One full scan over what is planted, each category followed by its bare walk; the issue lists live until the
// end, as the window keeps them.
void ScanAndPrint(const PlantFixture& fixture)
{
    LoadIniStore(".\\Corvadin.ini");
    ScannerList* scanners = CreateScannerList();
    std::vector<std::unique_ptr<IssueList>> lists;
    std::printf("%-26s %9s %8s %8s %9s %9s %9s %6s %8s\n", "category", "entries", "issues", "broken", "scan s",
                "bare", "bare s", "ratio", "peak MB");
    Row total{"total"};
    const long long heapBefore = heapBytes.load();
    size_t texts = 0;
    const int count = scanners ? std::min(scanners->Count(), CategoryCount) : 0;
    for (int index = 0; index < count; ++index) {
        if (RegistryScanner* scanner = scanners->At(index)) {
            lists.push_back(std::make_unique<IssueList>());
            const Row row = MeasureCategory(static_cast<Category>(index), *scanner, *lists.back(), fixture);
            PrintRow(row);
            AddTo(total, row);
            texts += TextBytes(*lists.back());
        }
    }
    PrintRow(total);
    if (total.issues > 0) {
        const double perIssue = static_cast<double>(heapBytes.load() - heapBefore) / total.issues;
        const double textPerIssue = static_cast<double>(texts) / total.issues;
        std::printf("heap kept per issue: %.0f bytes, of which texts %.0f: %.0f beyond its texts\n", perIssue,
                    textPerIssue, perIssue - textPerIssue);
    }
}

// Whether the fixture already holds exactly counts, as a run with --keep leaves it.
bool HoldsExactly(const PlantFixture& fixture, const PlantCounts& counts)
{
    for (int index = 0; index < CategoryCount; ++index) {
        const Category category = static_cast<Category>(index);
        if (fixture.Valid(category) + fixture.Broken(category) != counts[index]) {
            return false;
        }
    }
    return true;
}

// Plants counts, or keeps what an earlier run with --keep left when it is the same; anything else planted there
// would count twice and goes first.
bool PlantOrReuse(PlantFixture& fixture, const PlantCounts& counts)
{
    if (fixture.Open() && HoldsExactly(fixture, counts)) {
        std::printf("reusing the plant an earlier run kept\n");
        return fixture.AddShortcutFolderToIni(".\\Corvadin.ini");
    }
    if (!fixture.RemoveAll()) {
        std::fprintf(stderr, "corvadin-bench: an earlier plant is still there: %s\n", fixture.LastError().c_str());
        return false;
    }
    const Clock::time_point start = Clock::now();
    const bool planted = fixture.AddShortcutFolderToIni(".\\Corvadin.ini") && fixture.PlantAll(counts);
    std::printf("planted in %.1f s\n", SecondsSince(start));
    if (!planted) {
        std::fprintf(stderr, "corvadin-bench: cannot plant: %s\n", fixture.LastError().c_str());
    }
    return planted;
}

int RunSize(const std::string& folder, PlantMix mix, int size, bool keep)
{
    const PlantCounts counts = CountsOf(mix, size);
    int entries = 0;
    for (const int n : counts) {
        entries += n;
    }
    std::printf("\n== %d entries (%s mix), a tenth of every kind broken\n", entries,
                mix == PlantMix::Even ? "even" : "realistic");
    PlantFixture fixture(folder + "\\plant");
    const bool planted = PlantOrReuse(fixture, counts);
    std::fflush(stdout);
    if (planted) {
        ScanAndPrint(fixture);
    }
    if (keep) {
        std::printf("kept for the next run\n");
        return planted ? 0 : 1;
    }
    const Clock::time_point removal = Clock::now();
    if (!fixture.RemoveAll()) {
        std::fprintf(stderr, "corvadin-bench: not all removed: %s\n", fixture.LastError().c_str());
        return 1;
    }
    std::printf("removed in %.1f s\n", SecondsSince(removal));
    return planted ? 0 : 1;
}

int Usage()
{
    std::fprintf(stderr, "usage: corvadin-bench [--sizes N[,N]...] [--even] [--keep] [--folder DIR]\n"
                         "  --sizes   entries to plant over all categories, a tenth broken (default 1000;\n"
                         "            the full table: 10000,100000,1000000)\n"
                         "  --even    the same number of every category instead of a realistic mix\n"
                         "  --keep    leave the last size's plant in place; a later run of the same size and mix\n"
                         "            scans it without planting again (to compare two builds on one plant)\n"
                         "  --folder  working folder for the ini file, the log and the planted files\n"
                         "            (default C:\\CorvadinBench)\n");
    return 2;
}

bool ParseSizes(const std::string& text, std::vector<int>& sizes)
{
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        char* end = nullptr;
        const long size = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end || size < CategoryCount || size > 1000000) {
            return false;
        }
        sizes.push_back(static_cast<int>(size));
    }
    return !sizes.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    // Scanned on the heaps the program's own scans run on.
    UseLowFragmentationHeaps();
    std::vector<int> sizes;
    std::string folder = "C:\\CorvadinBench";
    PlantMix mix = PlantMix::Realistic;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sizes" && i + 1 < argc && ParseSizes(argv[i + 1], sizes)) {
            ++i;
        } else if (arg == "--even") {
            mix = PlantMix::Even;
        } else if (arg == "--keep") {
            keep = true;
        } else if (arg == "--folder" && i + 1 < argc) {
            folder = argv[++i];
        } else {
            return Usage();
        }
    }
    if (sizes.empty()) {
        sizes.push_back(1000);
    }
    std::filesystem::create_directories(folder);
    SetCurrentDirectoryA(folder.c_str());
    OperationLog::Start(folder + "\\bench.log");
    int failures = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        failures += RunSize(folder, mix, sizes[i], keep && i + 1 == sizes.size());
    }
    OperationLog::Stop();
    return failures == 0 ? 0 : 1;
}
