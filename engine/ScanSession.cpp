#include "engine/ScanSession.h"

#include "engine/IniStore.h"
#include "engine/RegistryScanner.h"
#include "engine/ScannerList.h"
#include "registry/OperationLog.h"

#include <windows.h>

#include <malloc.h>
#include <process.h>

#include <exception>

namespace {

constexpr const char* ScanConfigurationFile = ".\\Corvadin.ini";

// Logs, without letting anything out, that the work named by label() threw.
template <typename Label>
void LogFailure(const Label& label, const char* reason) noexcept
{
    try {
        OperationLog::Write(label() + " failed: " + reason);
    } catch (...) {
    }
}

// Runs work; whatever it throws is logged and goes no further.
template <typename Work, typename Label>
void Guarded(const Work& work, const Label& label) noexcept
{
    try {
        work();
    } catch (const std::exception& error) {
        LogFailure(label, error.what());
    } catch (...) {
        LogFailure(label, "unknown exception");
    }
}

std::string ReportLabel()
{
    return "Scan report";
}

// Ends a category's log with what its scan could not judge, so that a short list is never taken for a whole one.
void LogGaps(const RegistryScanner& scanner)
{
    const RegistryScanner::Gaps& gaps = scanner.ScanGaps();
    for (const auto& [path, error] : gaps.unreadableKeys) {
        OperationLog::Write(scanner.Name() + ": could not read " + path + " (error " + std::to_string(error) +
                            "); this category was not scanned in full");
    }
    if (gaps.outsideCodePage > 0) {
        OperationLog::Write(scanner.Name() + ": " + std::to_string(gaps.outsideCodePage) +
                            " entries not judged: their names or text hold characters outside the system code page");
    }
    if (gaps.undecided > 0) {
        OperationLog::Write(scanner.Name() + ": " + std::to_string(gaps.undecided) +
                            " entries not judged: Windows could not say whether their file exists");
    }
    if (gaps.perUserText > 0) {
        OperationLog::Write(scanner.Name() + ": " + std::to_string(gaps.perUserText) +
                            " entries not judged: machine-wide text names a variable set for each user");
    }
}

}  // namespace

ScanSession::~ScanSession()
{
    Wait();
}

void ScanSession::ClearResults() noexcept
{
    results_ = ScanResults{};
}

void ScanSession::Prepare(const ScannerList* scanners, ProgressSink* progress,
                          const std::function<bool(const RegistryScanner&)>& wanted)
{
    // The previous worker has reported its end but may not have returned yet.
    Wait();
    LoadIniStore(ScanConfigurationFile);
    table_.clear();
    const int count = scanners ? scanners->Count() : 0;
    table_.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        RegistryScanner* scanner = scanners->At(i);
        if (!scanner || (wanted && !wanted(*scanner))) {
            continue;
        }
        ScanEntry& entry = table_[static_cast<size_t>(i)];
        entry.scanner = scanner;
        entry.issues = std::make_unique<IssueList>();
        scanner->SetIgnoreList(&ignored_);
        scanner->SetProgress(progress);
        scanner->ClearStop();
    }
}

void ScanSession::Run(ScanObserver& observer) noexcept
{
    for (const std::string& damaged : ignored_.Damaged()) {
        Guarded([&] { OperationLog::Write("Ignore list: value \"" + damaged + "\" holds no entry; passed over"); },
                ReportLabel);
    }
    for (size_t i = 0; i < table_.size(); ++i) {
        ScanEntry& entry = table_[i];
        if (!entry.scanner) {
            continue;
        }
        RegistryScanner& scanner = *entry.scanner;
        Guarded([&] { observer.ScannerStarting(i, entry); }, ReportLabel);
        Guarded(
            [&] {
                scanner.ClearGaps();
                scanner.Scan(entry.issues.get());
                LogGaps(scanner);
            },
            [&] { return "Scan \"" + scanner.Name() + "\""; });
        Guarded([&] { observer.ScannerFinished(i, entry); }, ReportLabel);
        if (scanner.IsStopRequested()) {
            break;
        }
    }
    Guarded([&] { observer.ScanFinished(); }, ReportLabel);
}

void QuietenDriveErrorsOfThisThread() noexcept
{
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
}

void UseLowFragmentationHeaps() noexcept
{
    ULONG lowFragmentation = 2;
    for (const HANDLE heap : {GetProcessHeap(), reinterpret_cast<HANDLE>(_get_heap_handle())}) {
        HeapSetInformation(heap, HeapCompatibilityInformation, &lowFragmentation, sizeof lowFragmentation);
    }
}

unsigned __stdcall ScanSession::Worker(void* session)
{
    QuietenDriveErrorsOfThisThread();
    auto& self = *static_cast<ScanSession*>(session);
    self.Run(*self.observer_);
    return 0;
}

bool ScanSession::Start(ScanObserver& observer)
{
    Wait();
    observer_ = &observer;
    // _beginthreadex rather than _beginthread: its handle stays valid after the thread ends, so it can be waited on.
    worker_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Worker, this, 0, nullptr)));
    return worker_.valid();
}

bool ScanSession::IsRunning() const noexcept
{
    return worker_ && WaitForSingleObject(worker_.get(), 0) == WAIT_TIMEOUT;
}

void ScanSession::RequestStop() const noexcept
{
    if (worker_) {
        SuspendThread(worker_.get());
    }
    for (const ScanEntry& entry : table_) {
        if (entry.scanner) {
            entry.scanner->RequestStop();
        }
    }
    if (worker_) {
        ResumeThread(worker_.get());
    }
}

void ScanSession::Wait() noexcept
{
    while (worker_) {
        const HANDLE worker = worker_.get();
        const DWORD woken = MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 + 1) {
            // Only messages sent by other threads are handled here; posted ones wait for the loops.
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else {
            worker_.reset();
        }
    }
}

bool ScanSession::ReleaseEnded() noexcept
{
    if (!worker_ || IsRunning()) {
        return false;
    }
    worker_.reset();
    return true;
}

void ScanSession::CountFound(size_t index, int found) noexcept
{
    if (index + 1 < results_.errorCounters.size()) {
        results_.errorCounters[0] += found;
        results_.errorCounters[index + 1] = found;
    }
}

void ScanSession::CountRepaired(int index) noexcept
{
    if (index >= 0 && static_cast<size_t>(index) + 1 < results_.errorCounters.size()) {
        --results_.errorCounters[static_cast<size_t>(index) + 1];
        --results_.errorCounters[0];
    }
}
