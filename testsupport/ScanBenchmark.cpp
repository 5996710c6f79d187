// corvadin-bench: plants a synthetic registry with the planting fixture at one or more sizes (a tenth of every kind
// broken), runs a full scan with the scanners of the window, and prints per category and in total: entries visited,
// issues found, wall time, the time of the bare walk (testsupport/BareWalk.h) measured in the same run and the ratio
// to it, and the peak working set. Then it measures what a user of the console program sees, in rounds on the same
// plant: the bare walk over every category, "corvadin-cli scan", and "corvadin-cli fix" of every issue found, after
// which the repair is undone from its run's record so that the next round (and a kept plant) finds the same. It
// prints each round and the medians with their ratios: the scan to the bare walk, the repair to the scan, and the
// repair without what its backup files cost alone (each round makes them again as plain new files of one line).
//
// Quick run (the default, 1,000 entries):   build/x64/wine-exec.sh build/x64/testsupport/corvadin-bench.exe
// The full table:                           ... corvadin-bench.exe --sizes 10000,100000,1000000
// It works in a folder of its own (default C:\CorvadinBench: ini file, log, planted files, the repair's backups) and
// removes what it planted after each size, also after a failed plant.
#include "engine/IniStore.h"
#include "engine/IssueList.h"
#include "engine/ScanSession.h"
#include "engine/ScannerList.h"
#include "registry/OperationLog.h"
#include "registry/ProgressSink.h"
#include "registry/UniqueHandle.h"
#include "repair/RepairRuns.h"
#include "testsupport/BareWalk.h"
#include "testsupport/PlantFixture.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The folders the shortcut scan walks, as the ini file names them.
std::vector<std::string> ShortcutFolders()
{
    std::vector<std::string> folders;
    const IniStore& ini = SharedIniStore();
    for (int i = 0; i < ini.SectionSize(InfoOf(Category::Shortcut).name); ++i) {
        folders.push_back(ini.ValueAt(InfoOf(Category::Shortcut).name, i));
    }
    return folders;
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
    row.floorEntries = WalkBare(InfoOf(category), ShortcutFolders());
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

// ---- the console program ------------------------------------------------------------------------------------

std::string OwnPath()
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    return length > 0 && length < MAX_PATH ? self : "";
}

struct ConsoleRun {
    double seconds = 0;
    DWORD exitCode = 0;
    std::string output;
};

std::string FileText(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the console program in the working folder, its output into a file (as a user who keeps it would), and times
// it from its start to its end.
ConsoleRun RunConsole(const std::string& cli, const std::string& arguments)
{
    ConsoleRun run;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    UniqueFileHandle out(CreateFileA("console.txt", GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    UniqueFileHandle errors(CreateFileA("console-errors.txt", GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = errors.get();
    std::string command = "\"" + cli + "\" " + arguments;
    PROCESS_INFORMATION started{};
    const Clock::time_point start = Clock::now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        run.exitCode = static_cast<DWORD>(-1);
        return run;
    }
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    run.seconds = SecondsSince(start);
    GetExitCodeProcess(process.get(), &run.exitCode);
    out.reset();
    run.output = FileText("console.txt");
    return run;
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The run id the fix names in "'corvadin-cli restore --run ID'"; empty when it wrote no backup.
std::string RunIdOf(const std::string& output)
{
    const std::string mark = "restore --run ";
    const size_t at = output.find(mark);
    return at == std::string::npos ? std::string() : output.substr(at + mark.size(), output.find('\'', at) -
                                                                                          at - mark.size());
}

// Writes back everything the run deleted, then removes its backups and its record; false when anything of it
// could not be written back. backups receives the names of the run's backup files, in the order they were made.
bool Undo(const std::string& runId, std::vector<std::string>& backups)
{
    for (const RepairRunInfo& run : ListRepairRuns(".")) {
        if (run.id != runId) {
            continue;
        }
        const bool restored = RestoreRun(".", run).Complete();
        for (const RunEntry& entry : run.entries) {
            DeleteFileA(entry.file.c_str());
            backups.push_back(entry.file);
        }
        DeleteFileA(run.name.c_str());
        return restored;
    }
    return false;
}

// What the files of a repair cost alone: the run's backup files made again, each a new file of one line in the
// same folder and order, then removed. Under Wine every new name costs a look through the whole folder.
double MeasureBackupFiles(const std::vector<std::string>& backups)
{
    const std::string line = "REGEDIT4\n";
    const Clock::time_point start = Clock::now();
    for (const std::string& name : backups) {
        UniqueFileHandle file(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    const double seconds = SecondsSince(start);
    for (const std::string& name : backups) {
        DeleteFileA(name.c_str());
    }
    return seconds;
}

struct Round {
    double floor = 0;
    double scan = 0;
    double repair = 0;
    double undo = 0;
    double files = 0;
    int issues = 0;
    int fixed = 0;
};

double Median(std::vector<Round>& rounds, double Round::*figure)
{
    std::sort(rounds.begin(), rounds.end(), [&](const Round& a, const Round& b) { return a.*figure < b.*figure; });
    return rounds[rounds.size() / 2].*figure;
}

// The bare walk over every category, as a program of its own like the console program.
void WalkAllBare()
{
    LoadIniStore(".\\Corvadin.ini");
    for (const CategoryInfo& category : Categories()) {
        WalkBare(category, ShortcutFolders());
    }
}

// One round: the bare walk over every category, a console scan, a console repair of every issue and its undoing;
// each a program started and timed to its end.
bool MeasureRound(const std::string& cli, Round& round)
{
    round.floor = RunConsole(OwnPath(), "--bare-walk").seconds;
    const ConsoleRun scan = RunConsole(cli, "scan --quiet");
    round.scan = scan.seconds;
    const size_t found = scan.output.rfind(" issue");
    round.issues = found == std::string::npos ? 0 : std::atoi(scan.output.c_str() + scan.output.rfind('\n', found) + 1);
    const ConsoleRun fix = RunConsole(cli, "fix --yes --quiet --grade safe --grade review --grade expert");
    round.repair = fix.seconds;
    round.fixed = CountOf(fix.output, "  Fixed   ");
    const Clock::time_point start = Clock::now();
    std::vector<std::string> backups;
    const bool undone = Undo(RunIdOf(fix.output), backups);
    round.undo = SecondsSince(start);
    round.files = MeasureBackupFiles(backups);
    std::printf("round %-14s %7.2f %9.2f %7d %9.2f %7d %7.2f %7.2f%s\n", "", round.floor, round.scan, round.issues,
                round.repair, round.fixed, round.undo, round.files, undone ? "" : "  (not all written back)");
    std::fflush(stdout);
    return scan.exitCode <= 1 && fix.exitCode == 0 && undone;
}

// Rounds of the console program against the bare walk, each figure's median and the ratios of the medians.
bool CompareWithConsole(const std::string& cli, int roundCount)
{
    if (GetFileAttributesA(cli.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no console program at %s: not compared\n", cli.c_str());
        return true;
    }
    std::printf("\n%-20s %7s %9s %7s %9s %7s %7s %7s\n", "console program", "bare s", "scan s", "issues",
                "repair s", "fixed", "undo s", "files s");
    std::vector<Round> rounds(static_cast<size_t>(roundCount));
    bool complete = true;
    for (Round& round : rounds) {
        complete = MeasureRound(cli, round) && complete;
    }
    const double floor = Median(rounds, &Round::floor);
    const double scan = Median(rounds, &Round::scan);
    const double repair = Median(rounds, &Round::repair);
    const double files = Median(rounds, &Round::files);
    std::printf("median %-13s %7.2f %9.2f %7s %9.2f %7s %7s %7.2f\n", "", floor, scan, "", repair, "", "", files);
    std::printf("scan / bare walk: %.2f    repair (fix of every issue) / scan: %.2f\n", scan / floor, repair / scan);
    // The backup files alone, made as plainly as can be, are the part of the repair the file system sets.
    std::printf("backup files alone / scan: %.2f    repair without its backup files / scan: %.2f\n", files / scan,
                (repair - files) / scan);
    return complete;
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

struct BenchOptions {
    std::vector<int> sizes;
    std::string folder = "C:\\CorvadinBench";
    PlantMix mix = PlantMix::Realistic;
    bool keep = false;
    int rounds = 3;
    std::string cli;
};

int RunSize(const BenchOptions& options, int size, bool keep)
{
    const PlantCounts counts = CountsOf(options.mix, size);
    int entries = 0;
    for (const int n : counts) {
        entries += n;
    }
    std::printf("\n== %d entries (%s mix), a tenth of every kind broken\n", entries,
                options.mix == PlantMix::Even ? "even" : "realistic");
    PlantFixture fixture(options.folder + "\\plant");
    bool fine = PlantOrReuse(fixture, counts);
    std::fflush(stdout);
    if (fine) {
        ScanAndPrint(fixture);
        fine = options.rounds == 0 || CompareWithConsole(options.cli, options.rounds);
    }
    if (keep) {
        std::printf("kept for the next run\n");
        return fine ? 0 : 1;
    }
    const Clock::time_point removal = Clock::now();
    if (!fixture.RemoveAll()) {
        std::fprintf(stderr, "corvadin-bench: not all removed: %s\n", fixture.LastError().c_str());
        return 1;
    }
    std::printf("removed in %.1f s\n", SecondsSince(removal));
    return fine ? 0 : 1;
}

int Usage()
{
    std::fprintf(stderr, "usage: corvadin-bench [--sizes N[,N]...] [--even] [--keep] [--rounds N] [--cli EXE]\n"
                         "                      [--folder DIR]\n"
                         "  --sizes   entries to plant over all categories, a tenth broken (default 1000;\n"
                         "            the full table: 10000,100000,1000000)\n"
                         "  --even    the same number of every category instead of a realistic mix\n"
                         "  --keep    leave the last size's plant in place; a later run of the same size and mix\n"
                         "            scans it without planting again (to compare two builds on one plant)\n"
                         "  --rounds  rounds of bare walk, console scan and console repair (default 3; 0: none)\n"
                         "  --cli     the console program (default ..\\cli\\corvadin-cli.exe beside this one)\n"
                         "  --folder  working folder for the ini file, the log, the planted files and the\n"
                         "            repair's backups (default C:\\CorvadinBench)\n");
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

// build\testsupport\corvadin-bench.exe -> build\cli\corvadin-cli.exe
std::string DefaultCli()
{
    const std::filesystem::path bench(OwnPath());
    return (bench.parent_path().parent_path() / "cli" / "corvadin-cli.exe").string();
}

bool ParseOptions(int argc, char** argv, BenchOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--sizes" && hasValue && ParseSizes(argv[i + 1], options.sizes)) {
            ++i;
        } else if (arg == "--even") {
            options.mix = PlantMix::Even;
        } else if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--rounds" && hasValue) {
            options.rounds = std::clamp(std::atoi(argv[++i]), 0, 99);
        } else if (arg == "--cli" && hasValue) {
            options.cli = argv[++i];
        } else if (arg == "--folder" && hasValue) {
            options.folder = argv[++i];
        } else {
            return false;
        }
    }
    if (options.sizes.empty()) {
        options.sizes.push_back(1000);
    }
    if (options.cli.empty()) {
        options.cli = DefaultCli();
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    // Scanned on the heaps the program's own scans run on.
    UseLowFragmentationHeaps();
    BenchOptions options;
    if (argc == 2 && std::string(argv[1]) == "--bare-walk") {
        WalkAllBare();
        return 0;
    }
    if (!ParseOptions(argc, argv, options)) {
        return Usage();
    }
    std::filesystem::create_directories(options.folder);
    SetCurrentDirectoryA(options.folder.c_str());
    OperationLog::Start(options.folder + "\\bench.log");
    int failures = 0;
    for (size_t i = 0; i < options.sizes.size(); ++i) {
        failures += RunSize(options, options.sizes[i], options.keep && i + 1 == options.sizes.size());
    }
    OperationLog::Stop();
    return failures == 0 ? 0 : 1;
}
