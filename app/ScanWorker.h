// One scan: the table of scanners with the issues each found, the background thread that runs them, and the two
// messages by which that thread hands results to the main window.
#pragma once

#include "engine/IssueList.h"
#include "registry/UniqueHandle.h"

#include <windows.h>

#include <memory>
#include <vector>

class RegistryScanner;

// wParam: the scanner's index; lParam: its ScanEntry. Sent after each scanner, while the worker waits.
constexpr UINT ScannerFinishedMessage = 101;
// Sent once, when every scanner has run or a stop was honoured.
constexpr UINT ScanFinishedMessage = 102;

struct ScanEntry {
    RegistryScanner* scanner = nullptr;  // owned by the scanner list
    std::unique_ptr<IssueList> issues;
};

using ScanTable = std::vector<ScanEntry>;

// The window the worker reports to: the main window while it has one, null otherwise.
void SetScanWindow(HWND window) noexcept;
HWND ScanWindow() noexcept;

// Runs every scanner of the table in turn on the calling thread, reporting to ScanWindow().
void RunScan(ScanTable& table);

// The worker thread of one scan. The handle is kept so that the program can tell when the worker has ended and
// wait for it before anything the worker uses goes away.
class ScanThread {
public:
    // Starts RunScan(table) on a new thread; false when no thread could be started.
    bool Start(ScanTable& table);
    // True while a started worker has not yet returned.
    bool IsRunning() const noexcept;
    // Sets every scanner's stop flag while the worker is suspended, so that it never sees a half-made request.
    void RequestStop(const ScanTable& table) const noexcept;
    // Waits until the worker has returned, meanwhile handling the messages it sends to this thread's windows, so
    // that it can finish. Returns at once when no worker runs.
    void Wait() noexcept;
    // Forgets a worker that has returned; true when one had.
    bool ReleaseEnded() noexcept;

private:
    UniqueKernelHandle handle_;
};
