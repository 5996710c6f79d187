// corvadin-bench: plants a synthetic registry with the planting fixture at one or more sizes (a tenth of the
// entries broken, spread over all thirteen categories), runs a full scan with the scanners of the window, and
// prints per category and in total: entries visited, issues found, wall time, and the ratio to a floor measured
// in the same run. The floor walks the same keys, reads the same values and makes a plain existence check of
// each path it reads, without starting programs and without building issues. Peak memory closes each size.
//
// Quick run (the default, 1,000 entries):   build/x64/wine-exec.sh build/x64/testsupport/corvadin-bench.exe
// The full table:                           ... corvadin-bench.exe --sizes 1000,10000,100000
// It works in a folder of its own (default C:\CorvadinBench: ini file, log, planted files) and removes what it
// planted after each size, also after a failed plant.
#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "registry/ProgressSink.h"
#include "engine/ScannerList.h"
#include "registry/OperationLog.h"
#include "registry/UniqueHandle.h"
#include "scanners/FileChecks.h"
#include "scanners/TargetChecks.h"
#include "testsupport/PlantFixture.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

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

// The values a scanner reads below each subkey it walks: the key at below ("" the subkey itself; a "*" part
// stands for every subkey at that level), and the value names there ("" the default value).
struct PointRead {
    std::string below;
    std::vector<std::string> values;
};

// Where a category's scanner looks: a start key whose values, or whose subkeys, are walked; what it reads below
// each subkey; and whether the subkey's name is looked up as a class below classParent.
struct FloorWalk {
    HKEY root;
    std::string path;
    bool subkeys;
    std::vector<PointRead> reads;
    const char* classParent = nullptr;
};

// In the order of the scanner list (and of Category); shortcuts walk folders instead.
std::vector<std::vector<FloorWalk>> FloorTable()
{
    const std::string cv = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    return {
        {{HKEY_LOCAL_MACHINE, cv + "\\App Paths", true, {{"", {"", "Path"}}}}},
        {{HKEY_LOCAL_MACHINE, cv + "\\Uninstall", true, {{"", {"UninstallString"}}}}},
        {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\Help", false, {}},
         {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\HTML Help", false, {}}},
        {{HKEY_CURRENT_USER, cv + "\\Explorer\\FileExts", true, {}, ""}},
        {{HKEY_CLASSES_ROOT, "", true, {{"DefaultIcon", {""}}, {"Shell\\*\\Command", {""}}}}},
        {{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false, {}}},
        {{HKEY_LOCAL_MACHINE, cv + "\\Explorer\\RunMRU", false, {}},
         {HKEY_CURRENT_USER, cv + "\\Explorer\\RunMRU", false, {}}},
        {{HKEY_LOCAL_MACHINE, cv + "\\SharedDLLs", false, {}},
         {HKEY_CURRENT_USER, cv + "\\SharedDLLs", false, {}}},
        {{HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\lanmanserver\\Shares", false, {}},
         {HKEY_LOCAL_MACHINE, cv + "\\Network\\LanMan", true, {{"", {"Path"}}}}},
        {{HKEY_LOCAL_MACHINE, cv + "\\Run", false, {}}, {HKEY_CURRENT_USER, cv + "\\Run", false, {}}},
        {{HKEY_CLASSES_ROOT, "CLSID", true, {{"InprocServer32", {""}}}}},
        {{HKEY_LOCAL_MACHINE, cv + "\\Explorer\\Browser Helper Objects", true, {}, "CLSID"}},
        {},
    };
}

struct Walked {
    int entries = 0;
    int checks = 0;
};

// The existence check the floor makes of every path it reads: a text, each "name=path" string of a list, a value
// name that is a path.
void CheckPath(const std::string& text, Walked& walked)
{
    FileExists(ExtractProgramPath(ExpandVariables(text)));
    ++walked.checks;
}

void CheckData(DWORD type, std::vector<BYTE>& data, DWORD size, Walked& walked)
{
    data[size] = 0;
    const char* text = reinterpret_cast<const char*>(data.data());
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        CheckPath(text, walked);
    } else if (type == REG_MULTI_SZ) {
        for (const char* part = text; part < text + size && *part; part += strlen(part) + 1) {
            if (const char* equals = strchr(part, '=')) {
                CheckPath(equals + 1, walked);
            }
        }
    }
}

// Reads every value of key (data included), as a walk over values does.
void ReadValues(HKEY key, Walked& walked)
{
    std::vector<char> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size() - 1);
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_NO_MORE_ITEMS) {
            return;
        }
        ++walked.entries;
        if (result == ERROR_SUCCESS) {
            const std::string valueName(name.data(), nameLength);
            if (valueName.find('\\') != std::string::npos) {
                CheckPath(valueName, walked);
            }
            CheckData(type, data, size, walked);
        }
    }
}

// Reads the named values of key, as a scanner looks at one entry.
void ReadNamed(HKEY key, const std::vector<std::string>& names, Walked& walked)
{
    std::vector<BYTE> data(65536);
    for (const std::string& name : names) {
        DWORD size = static_cast<DWORD>(data.size() - 1);
        DWORD type = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
            CheckData(type, data, size, walked);
        }
    }
}

std::vector<std::string> SubkeyNames(HKEY key)
{
    std::vector<std::string> names;
    char name[1024];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        const LONG result = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            return names;
        }
        if (result == ERROR_SUCCESS) {
            names.emplace_back(name, length);
        }
    }
}

// Reads the named values of the key at relative below key; a "*" part walks every subkey at that level.
void ReadBelow(HKEY key, const std::string& relative, const std::vector<std::string>& names, Walked& walked)
{
    if (relative.empty()) {
        ReadNamed(key, names, walked);
        return;
    }
    const size_t slash = relative.find('\\');
    const std::string part = relative.substr(0, slash);
    const std::string rest = slash == std::string::npos ? std::string() : relative.substr(slash + 1);
    std::vector<std::string> parts{part};
    if (part == "*") {
        parts = SubkeyNames(key);
        walked.entries += static_cast<int>(parts.size());
    }
    for (const std::string& name : parts) {
        UniqueHkey child;
        if (RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, child.put()) == ERROR_SUCCESS) {
            ReadBelow(child.get(), rest, names, walked);
        }
    }
}

void WalkFloor(const FloorWalk& walk, Walked& walked)
{
    UniqueHkey start;
    if (RegOpenKeyExA(walk.root, walk.path.c_str(), 0, KEY_READ, start.put()) != ERROR_SUCCESS) {
        return;
    }
    if (!walk.subkeys) {
        ReadValues(start.get(), walked);
        return;
    }
    for (const std::string& name : SubkeyNames(start.get())) {
        ++walked.entries;
        UniqueHkey entry;
        if (RegOpenKeyExA(start.get(), name.c_str(), 0, KEY_READ, entry.put()) != ERROR_SUCCESS) {
            continue;
        }
        for (const PointRead& read : walk.reads) {
            ReadBelow(entry.get(), read.below, read.values, walked);
        }
        if (walk.classParent) {
            const std::string classPath = *walk.classParent ? std::string(walk.classParent) + "\\" + name : name;
            UniqueHkey classKey;
            RegOpenKeyExA(HKEY_CLASSES_ROOT, classPath.c_str(), 0, KEY_READ, classKey.put());
            ++walked.checks;
        }
    }
}

// The shortcut folders of the ini file, every file in them checked.
void WalkFolderFloor(const std::string& folder, Walked& walked)
{
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        ++walked.entries;
        FileExists(it->path().string());
        ++walked.checks;
    }
}

Walked FloorOf(int category, const std::vector<FloorWalk>& walks)
{
    Walked walked;
    for (const FloorWalk& walk : walks) {
        WalkFloor(walk, walked);
    }
    if (category == static_cast<int>(Category::Shortcut)) {
        const IniStore& ini = SharedIniStore();
        for (int i = 0; i < ini.SectionSize("Shortcut"); ++i) {
            WalkFolderFloor(ini.ValueAt("Shortcut", i), walked);
        }
    }
    return walked;
}

struct Row {
    std::string category;
    int entries = 0;
    int issues = 0;
    int broken = 0;
    double seconds = 0;
    int floorEntries = 0;
    double floorSeconds = 0;
};

void PrintRow(const Row& row)
{
    const double ratio = row.floorSeconds > 0 ? row.seconds / row.floorSeconds : 0;
    std::printf("%-26s %9d %8d %8d %10.3f %9d %10.3f %8.1f\n", row.category.c_str(), row.entries, row.issues,
                row.broken, row.seconds, row.floorEntries, row.floorSeconds, ratio);
}

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}

void AddTo(Row& total, const Row& row)
{
    total.entries += row.entries;
    total.issues += row.issues;
    total.broken += row.broken;
    total.seconds += row.seconds;
    total.floorEntries += row.floorEntries;
    total.floorSeconds += row.floorSeconds;
}

// The scan of one category into list, then its floor.
Row MeasureCategory(int index, RegistryScanner& scanner, IssueList& list, const std::vector<FloorWalk>& floor,
                    const PlantFixture& fixture)
{
    CountingSink sink;
    scanner.SetProgress(&sink);
    scanner.ClearStop();
    const Clock::time_point start = Clock::now();
    scanner.Scan(&list);
    Row row{scanner.Name(), sink.steps, list.Count(), fixture.Broken(static_cast<Category>(index)),
            SecondsSince(start)};
    scanner.SetProgress(nullptr);
    const Clock::time_point floorStart = Clock::now();
    row.floorEntries = FloorOf(index, floor).entries;
    row.floorSeconds = SecondsSince(floorStart);
    return row;
}

// One full scan over what is planted, each category followed by its floor; the issue lists live until the end,
// as the window keeps them.
void ScanAndPrint(const PlantFixture& fixture)
{
    LoadIniStore(".\\Corvadin.ini");
    ScannerList* scanners = CreateScannerList();
    const std::vector<std::vector<FloorWalk>> floors = FloorTable();
    std::vector<std::unique_ptr<IssueList>> lists;
    std::printf("%-26s %9s %8s %8s %10s %9s %10s %8s\n", "category", "entries", "issues", "broken", "scan s",
                "floor", "floor s", "ratio");
    Row total{"total"};
    const int count = scanners ? std::min(scanners->Count(), static_cast<int>(floors.size())) : 0;
    for (int index = 0; index < count; ++index) {
        if (RegistryScanner* scanner = scanners->At(index)) {
            lists.push_back(std::make_unique<IssueList>());
            const Row row = MeasureCategory(index, *scanner, *lists.back(), floors[index], fixture);
            PrintRow(row);
            std::fflush(stdout);
            AddTo(total, row);
        }
    }
    PrintRow(total);
    std::printf("peak working set %.1f MB\n", PeakMegabytes());
}

int RunSize(const std::string& folder, int size)
{
    const int perCategory = std::max(1, size / CategoryCount);
    const int broken = perCategory / 10;
    std::printf("\n== %d entries: %d per category, %d of them broken\n", perCategory * CategoryCount,
                perCategory, broken);
    PlantFixture fixture(folder + "\\plant");
    // What an interrupted run left behind would count twice.
    if (!fixture.RemoveAll()) {
        std::fprintf(stderr, "corvadin-bench: an earlier plant is still there: %s\n", fixture.LastError().c_str());
        return 1;
    }
    const Clock::time_point start = Clock::now();
    bool planted = fixture.AddShortcutFolderToIni(".\\Corvadin.ini");
    for (int i = 0; planted && i < CategoryCount; ++i) {
        planted = fixture.Plant(static_cast<Category>(i), perCategory - broken, broken);
    }
    std::printf("planted in %.1f s\n", SecondsSince(start));
    if (planted) {
        ScanAndPrint(fixture);
    } else {
        std::fprintf(stderr, "corvadin-bench: cannot plant: %s\n", fixture.LastError().c_str());
    }
    if (!fixture.RemoveAll()) {
        std::fprintf(stderr, "corvadin-bench: not all removed: %s\n", fixture.LastError().c_str());
        return 1;
    }
    return planted ? 0 : 1;
}

int Usage()
{
    std::fprintf(stderr, "usage: corvadin-bench [--sizes N[,N]...] [--folder DIR]\n"
                         "  --sizes   entries to plant over all categories, a tenth broken (default 1000;\n"
                         "            the full table: 1000,10000,100000)\n"
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
    std::vector<int> sizes;
    std::string folder = "C:\\CorvadinBench";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sizes" && i + 1 < argc && ParseSizes(argv[i + 1], sizes)) {
            ++i;
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
    for (const int size : sizes) {
        failures += RunSize(folder, size);
    }
    OperationLog::Stop();
    return failures == 0 ? 0 : 1;
}
