// corvadin-windowbench: how Corvadin.exe's main window keeps up with a scan that lists many issues. It plants broken
// entries (12,000 by default, spread over every category) and scans them without a window for reference, twice,
// each in a process of its own as the window's scan is the first of its process. Then it starts Corvadin.exe twice
// on this machine's display: once clicking Stop Scanner halfway through the scan, timing the click's answer and the
// scan's stop; once to the end, timing when the list holds every row against the end of the window's scan (its
// worker thread) and the scan without a window. All along it asks the window's thread to answer a message every
// 50 ms and prints the longest wait. It removes what it planted, also after a failure. Not a test: its times depend
// on the machine.
//
//   build/x64/wine-exec.sh build/x64/testsupport/corvadin-windowbench.exe [--issues N] [--hold SECONDS]
// --hold leaves the full run's window open that long after the scan, for a screenshot.
#include "engine/IgnoreList.h"
#include "engine/ScanSession.h"
#include "engine/ScannerList.h"
#include "registry/ProgressSink.h"
#include "registry/UniqueHandle.h"
#include "resources/resource.h"
#include "settings/SettingsStore.h"
#include "testsupport/PlantFixture.h"

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The ids of a process's threads.
std::set<DWORD> ThreadsOf(DWORD process)
{
    std::set<DWORD> threads;
    // Like CreateFile, it reports failure with INVALID_HANDLE_VALUE.
    const UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == process) {
            threads.insert(entry.th32ThreadID);
        }
    }
    return threads;
}

// The thread the window started for the scan: the first one of the process that was not there before.
UniqueKernelHandle NewThreadOf(DWORD process, const std::set<DWORD>& before)
{
    for (const DWORD thread : ThreadsOf(process)) {
        if (!before.count(thread)) {
            return UniqueKernelHandle(OpenThread(THREAD_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, thread));
        }
    }
    return UniqueKernelHandle();
}

double Seconds(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e7;
}

double SecondsNow()
{
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return Seconds(now);
}

constexpr UINT AnswerTimeout = 60000;
constexpr DWORD ProbePeriod = 50;

// Counts what a scan without a window finds.
class CountingObserver : public ScanObserver {
public:
    void ScannerFinished(size_t, const ScanEntry& entry) override
    {
        issues += entry.issues ? entry.issues->Count() : 0;
    }
    void ScanFinished() override {}
    int issues = 0;
};

// Takes a scan's progress as the window's sink does, and shows it nowhere.
class UnseenProgress : public ProgressSink {
public:
    int Range() const override { return range_; }
    int Step(int delta) override { return position_ += delta; }
    void SetRange(int n) override { range_ = n; }
    int Position() const override { return position_; }
    void SetPosition(int p) override { position_ = p; }
    void SetText(const std::string& text) override { text_ = text; }

private:
    int range_ = 0;
    int position_ = 0;
    std::string text_;
};

struct Reference {
    int issues = 0;
    double seconds = 0;
};

// The scan the window makes, on this thread and without a window: every scanner, the stored ignore list, the
// progress taken as the window takes it.
Reference ScanWithoutWindow()
{
    ScanResults results;
    ScanSession session(results);
    session.SetIgnoreList(IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath()));
    UnseenProgress progress;
    session.Prepare(CreateScannerList(), &progress);
    CountingObserver observer;
    const auto start = Clock::now();
    session.Run(observer);
    return {observer.issues, SecondsSince(start)};
}

// One run of Corvadin.exe, asked to end (or ended by force) when it goes.
class Program {
public:
    Program(const std::string& path, const std::string& folder)
    {
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                  &startup, &info_) != FALSE;
    }
    ~Program()
    {
        if (!started_) {
            return;
        }
        if (const HWND hidden = WindowOf("zintavodlg")) {
            PostMessageA(hidden, WM_COMMAND, ID_TRAY_EXIT, 0);
        }
        if (WaitForSingleObject(info_.hProcess, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 30000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Id() const { return info_.dwProcessId; }

    // The shown main window; null when it does not come up within a minute.
    HWND WaitForMain() const
    {
        for (int tries = 0; started_ && tries < 600; ++tries) {
            const HWND main = WindowOf("Corvadin");
            if (main && IsWindowVisible(main)) {
                return main;
            }
            Sleep(100);
        }
        return nullptr;
    }

private:
    struct Search {
        DWORD process;
        const char* caption;
        HWND found;
    };
    static BOOL CALLBACK Step(HWND window, LPARAM data)
    {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char text[64] = "";
        GetWindowTextA(window, text, sizeof text);
        if (owner == search->process && lstrcmpA(text, search->caption) == 0) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    HWND WindowOf(const char* caption) const
    {
        Search search{info_.dwProcessId, caption, nullptr};
        EnumWindows(&Step, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// The main window seen from outside: every question goes through its thread's queue, as a person's click does.
class MainWindow {
public:
    explicit MainWindow(HWND main) : main_(main), list_(FindList(main)) {}

    // Sends a message and waits for the answer; the wait is counted as one of the probes.
    std::optional<LRESULT> Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        const auto start = Clock::now();
        DWORD_PTR answer = 0;
        const bool answered =
            SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, AnswerTimeout, &answer) != 0;
        longestWait = std::max(longestWait, SecondsSince(start));
        return answered ? std::optional<LRESULT>(static_cast<LRESULT>(answer)) : std::nullopt;
    }
    bool Probe() { return Ask(main_, WM_NULL).has_value(); }
    // Clicks a button of the window as the button tells its window of a click; true once the window has handled it.
    bool Click(int id)
    {
        return Ask(main_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main_, id)))
            .has_value();
    }
    std::string Status()
    {
        char text[64] = "";
        Ask(GetDlgItem(main_, IDC_STATUS), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    int Rows() { return list_ ? static_cast<int>(Ask(list_, LVM_GETITEMCOUNT).value_or(-1)) : -1; }
    bool HasList() const { return list_ != nullptr; }

    double longestWait = 0;

private:
    // The results list: the only list among the main window's descendants.
    static HWND FindList(HWND main)
    {
        HWND found = nullptr;
        EnumChildWindows(main, TakeList, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static BOOL CALLBACK TakeList(HWND child, LPARAM found)
    {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, WC_LISTVIEWA) == 0) {
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        }
        return TRUE;
    }

    HWND main_;
    HWND list_;
};

// Probes the window every ProbePeriod until done() holds or the time is up; false when the time ran out.
template <typename Done>
bool ProbeUntil(MainWindow& window, Done done, double seconds)
{
    const auto start = Clock::now();
    while (!done()) {
        if (SecondsSince(start) > seconds || !window.Probe()) {
            return false;
        }
        Sleep(ProbePeriod);
    }
    return true;
}

struct Options {
    std::string program;
    std::string folder = "C:\\CorvadinWindowBench";
    int issues = 12000;
    int hold = 0;
};

// Runs this program with --reference FILE, which scans once and writes what it found there.
std::optional<Reference> ScanInOwnProcess(const Options& options)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string file = options.folder + "\\reference.txt";
    std::string commandLine = "\"" + std::string(self) + "\" --reference \"" + file + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, options.folder.c_str(),
                        &startup, &process)) {
        return std::nullopt;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    Reference reference;
    FILE* in = std::fopen(file.c_str(), "r");
    const bool read = in && std::fscanf(in, "%d %lf", &reference.issues, &reference.seconds) == 2;
    if (in) {
        std::fclose(in);
    }
    std::remove(file.c_str());
    return read ? std::optional<Reference>(reference) : std::nullopt;
}

int WriteReference(const char* file)
{
    const Reference reference = ScanWithoutWindow();
    FILE* out = std::fopen(file, "w");
    const bool written = out && std::fprintf(out, "%d %.6f\n", reference.issues, reference.seconds) > 0;
    return out && std::fclose(out) == 0 && written ? 0 : 1;
}

// Starts Corvadin.exe and a scan in its main window, then measures with the window; false, with a line that says
// why, when the window or the scan does not start.
template <typename Measure>
bool WithScanStarted(const Options& options, Measure measure)
{
    const Program program(options.program, options.folder);
    const HWND main = program.WaitForMain();
    if (!main) {
        std::fprintf(stderr, "corvadin-windowbench: the main window did not come up\n");
        return false;
    }
    MainWindow window(main);
    const std::set<DWORD> threads = ThreadsOf(program.Id());
    if (!window.HasList() || !window.Click(IDC_START_SCAN)) {
        std::fprintf(stderr, "corvadin-windowbench: the scan could not be started\n");
        return false;
    }
    // Started while the window handled the click.
    const UniqueKernelHandle worker = NewThreadOf(program.Id(), threads);
    return measure(window, worker.get());
}

// Starts a scan, clicks Stop Scanner halfway through the reference time, and times the answer and the stop.
bool StopRun(const Options& options, const Reference& reference)
{
    return WithScanStarted(options, [&](MainWindow& window, HANDLE) {
        const auto started = Clock::now();
        ProbeUntil(window, [&] { return SecondsSince(started) >= reference.seconds / 2; }, reference.seconds);
        const std::string before = window.Status();
        const int rowsBefore = window.Rows();
        const double clickedAt = SecondsSince(started);
        const auto clicked = Clock::now();
        const bool answered = window.Click(IDC_STOP_SCAN);
        const double answer = SecondsSince(clicked);
        const bool stopped = ProbeUntil(window, [&] { return window.Status() == "Idle"; }, 120);
        std::printf("stop run: Stop Scanner clicked %.2f s into the scan (status \"%s\", %d rows listed)\n", clickedAt,
                    before.c_str(), rowsBefore);
        std::printf("  click answered after          %8.3f s%s\n", answer, answered ? "" : " (no answer)");
        std::printf("  scan stopped (Idle) after     %8.3f s%s\n", SecondsSince(clicked),
                    stopped ? "" : " (not stopped)");
        std::printf("  longest wait for the window   %8.3f s\n", window.longestWait);
        return answered && stopped && before == "Scanning";
    });
}

// Scans to the end and times when the list holds every row the scan without a window found.
bool FullRun(const Options& options, const Reference& reference)
{
    return WithScanStarted(options, [&](MainWindow& window, HANDLE worker) {
        const auto started = Clock::now();
        std::optional<double> idle;
        std::optional<double> listed;
        double listedAt = 0;
        const double patience = reference.seconds * 20 + 600;
        ProbeUntil(
            window,
            [&] {
                if (!idle && window.Status() == "Idle") {
                    idle = SecondsSince(started);
                }
                if (!listed && window.Rows() >= reference.issues) {
                    listed = SecondsSince(started);
                    listedAt = SecondsNow();
                }
                return idle && listed;
            },
            patience);
        const int rows = window.Rows();
        std::printf("full run: %d rows listed of %d issues\n", rows, reference.issues);
        std::printf("  status Idle after             %8.3f s\n", idle.value_or(-1));
        std::printf("  every row listed after        %8.3f s\n", listed.value_or(-1));
        std::printf("  the same scan without window  %8.3f s\n", reference.seconds);
        FILETIME created{}, ended{}, kernel{}, user{};
        if (worker && WaitForSingleObject(worker, 0) != WAIT_TIMEOUT &&
            GetThreadTimes(worker, &created, &ended, &kernel, &user)) {
            // The worker hands each scanner's rows over and waits until the window has them: they cannot come late.
            std::printf("  the window's scan (its worker) %7.3f s\n", Seconds(ended) - Seconds(created));
            std::printf("  every row listed after its end %7.3f s  (probed every %lu ms)\n", listedAt - Seconds(ended),
                        ProbePeriod);
        } else {
            std::printf("  the window's scan              not found\n");
        }
        std::printf("  longest wait for the window   %8.3f s\n", window.longestWait);
        std::fflush(stdout);
        if (options.hold > 0) {
            Sleep(static_cast<DWORD>(options.hold) * 1000);
        }
        return idle && listed && rows == reference.issues;
    });
}

// Plants options.issues broken entries, spread evenly over the categories.
bool PlantBroken(PlantFixture& fixture, const Options& options)
{
    if (!fixture.AddShortcutFolderToIni(options.folder + "\\Corvadin.ini")) {
        return false;
    }
    for (int i = 0; i < CategoryCount; ++i) {
        const int share = options.issues / CategoryCount + (i < options.issues % CategoryCount ? 1 : 0);
        if (!fixture.Plant(static_cast<Category>(i), 0, share)) {
            return false;
        }
    }
    return true;
}

int Measure(const Options& options)
{
    PlantFixture fixture(options.folder + "\\plant");
    const auto planting = Clock::now();
    if (!fixture.RemoveAll() || !PlantBroken(fixture, options)) {
        std::fprintf(stderr, "corvadin-windowbench: %s\n", fixture.LastError().c_str());
        fixture.RemoveAll();
        return 1;
    }
    std::printf("planted %d broken entries in %.1f s\n", options.issues, SecondsSince(planting));
    // Twice, the shorter counting: the first also fills the caches a later scan finds full.
    // Each in a process of its own, as the window's scan is the first of its process; the shorter one counts.
    const std::optional<Reference> first = ScanInOwnProcess(options);
    const std::optional<Reference> second = ScanInOwnProcess(options);
    if (!first || !second) {
        std::fprintf(stderr, "corvadin-windowbench: the scan without a window failed\n");
        fixture.RemoveAll();
        return 1;
    }
    const Reference reference{second->issues, std::min(first->seconds, second->seconds)};
    std::printf("scan without a window: %d issues in %.3f s (runs of %.3f s and %.3f s)\n", reference.issues,
                reference.seconds, first->seconds, second->seconds);
    std::fflush(stdout);
    const bool stopSound = StopRun(options, reference);
    std::fflush(stdout);
    const bool fullSound = FullRun(options, reference);
    const bool removed = fixture.RemoveAll();
    if (!removed) {
        std::fprintf(stderr, "corvadin-windowbench: %s\n", fixture.LastError().c_str());
    }
    return stopSound && fullSound && removed ? 0 : 1;
}

int Usage()
{
    std::fprintf(stderr, "usage: corvadin-windowbench [--issues N] [--hold SECONDS] [--program EXE] [--folder DIR]\n"
                         "  --issues   broken entries to plant (default 12000)\n"
                         "  --hold     keep the full run's window open that long after the scan\n"
                         "  --program  Corvadin.exe to run (default: the build's, beside this folder)\n"
                         "  --folder   working folder for the ini file and the planted files\n");
    return 2;
}

// The build's Corvadin.exe: app\Corvadin.exe beside this program's folder.
std::string BuildProgram()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::filesystem::path self(std::string(path, length < MAX_PATH ? length : 0));
    return (self.parent_path().parent_path() / "app" / "Corvadin.exe").string();
}

}  // namespace

int main(int argc, char** argv)
{
    // The reference scan runs on the heaps the program's own runs on.
    UseLowFragmentationHeaps();
    if (argc == 3 && std::string(argv[1]) == "--reference") {
        return WriteReference(argv[2]);
    }
    Options options;
    options.program = BuildProgram();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--issues" && hasValue) {
            options.issues = std::atoi(argv[++i]);
        } else if (arg == "--hold" && hasValue) {
            options.hold = std::atoi(argv[++i]);
        } else if (arg == "--program" && hasValue) {
            options.program = argv[++i];
        } else if (arg == "--folder" && hasValue) {
            options.folder = argv[++i];
        } else {
            return Usage();
        }
    }
    if (options.issues < CategoryCount || options.hold < 0) {
        return Usage();
    }
    std::filesystem::create_directories(options.folder);
    SetCurrentDirectoryA(options.folder.c_str());
    const int result = Measure(options);
    std::error_code ignored;
    std::filesystem::remove(options.folder + "\\Corvadin.ini", ignored);
    return result;
}
