// One scan and what it found: the table of scanners with the issues each found, the worker thread that runs them,
// and the error counters. The main window and the console both scan through it; each hears of the scan through
// its own observer.
#pragma once

#include "engine/IgnoreList.h"
#include "engine/IssueList.h"
#include "engine/ScanResults.h"
#include "registry/UniqueHandle.h"

#include <functional>
#include <memory>
#include <vector>

class ProgressSink;
class RegistryScanner;
class ScannerList;

struct ScanEntry {
    RegistryScanner* scanner = nullptr;  // owned by the scanner list
    std::unique_ptr<IssueList> issues;
};

using ScanTable = std::vector<ScanEntry>;

// Told of a scan on the thread that runs it. While a call runs the scan waits, so the entry may be read.
class ScanObserver {
public:
    virtual ~ScanObserver() = default;
    // The scanner at index of the table is about to run.
    virtual void ScannerStarting(size_t /*index*/, const ScanEntry& /*entry*/) {}
    // The scanner at index of the table has finished; its issue list is complete.
    virtual void ScannerFinished(size_t index, const ScanEntry& entry) = 0;
    // Every scanner has run, or a stop was honoured.
    virtual void ScanFinished() = 0;
};

// Probes of an empty card reader or disc drive then fail quietly instead of raising the system's "no disk" box,
// which nobody would answer during a hidden scan. For the scan worker and the console program; the process-wide
// mode stays as it was.
void QuietenDriveErrorsOfThisThread() noexcept;

// A big scan makes and frees millions of small blocks; on a heap without the low-fragmentation front end each one
// costs more the bigger the heap has grown. Windows turns that front end on by itself, emulators may not: a
// program calls this once, at its start, for the process's and the C library's heaps.
void UseLowFragmentationHeaps() noexcept;

class ScanSession {
public:
    // The counters written are those of results.
    explicit ScanSession(ScanResults& results) noexcept : results_(results) {}
    // Waits for a worker still running: its table goes with this object.
    ~ScanSession();

    // Sets every counter to 0 and clears the flags of the last scan.
    void ClearResults() noexcept;
    // Replaces the table (and with it the issues of the last scan) by one entry per scanner of the list, each with
    // a new empty issue list, the progress sink and a cleared stop flag, and loads the scan configuration file.
    // Scanners that wanted refuses are left out of the scan. Waits first for a worker that has not yet returned.
    void Prepare(const ScannerList* scanners, ProgressSink* progress,
                 const std::function<bool(const RegistryScanner&)>& wanted = nullptr);

    // Runs every scanner of the table in turn on the calling thread, telling observer of each. Nothing thrown by a
    // scanner or the observer gets out: a scanner that throws is logged and counts as finished.
    void Run(ScanObserver& observer) noexcept;
    // Starts Run on a worker thread; false when no thread could be started.
    bool Start(ScanObserver& observer);
    // True while a started worker has not yet returned.
    bool IsRunning() const noexcept;
    // Sets every scanner's stop flag while the worker is suspended, so that it never sees a half-made request.
    void RequestStop() const noexcept;
    // Waits until the worker has returned, meanwhile handling the messages it sends to this thread's windows, so
    // that it can finish. Returns at once when no worker runs.
    void Wait() noexcept;
    // Forgets a worker that has returned; true when one had.
    bool ReleaseEnded() noexcept;

    const ScanTable& Table() const noexcept { return table_; }
    // The entries the next scans leave out; none by default.
    void SetIgnoreList(IgnoreList ignored) { ignored_ = std::move(ignored); }

    // The scanner at index found so many issues: its counter is set to that number, and the total grows by it.
    // Called on the thread that reads the counters, as it takes the scanner's results over.
    void CountFound(size_t index, int found) noexcept;
    // One issue of the scanner at index was repaired: its counter and the total go down by one.
    void CountRepaired(int index) noexcept;

    ScanSession(const ScanSession&) = delete;
    ScanSession& operator=(const ScanSession&) = delete;

private:
    static unsigned __stdcall Worker(void* session);

    ScanResults& results_;
    ScanTable table_;
    IgnoreList ignored_;
    ScanObserver* observer_ = nullptr;
    UniqueKernelHandle worker_;
};
