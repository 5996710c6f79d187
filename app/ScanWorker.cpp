#include "app/ScanWorker.h"

#include "engine/RegistryScanner.h"
#include "scanners/FileChecks.h"

#include <process.h>

#include <atomic>

namespace {

std::atomic<HWND> scanWindow{nullptr};

unsigned __stdcall ScanWorker(void* table)
{
    QuietenDriveErrorsOfThisThread();
    RunScan(*static_cast<ScanTable*>(table));
    return 0;
}

}  // namespace

void SetScanWindow(HWND window) noexcept
{
    scanWindow = window;
}

HWND ScanWindow() noexcept
{
    return scanWindow;
}

void RunScan(ScanTable& table)
{
    for (size_t i = 0; i < table.size(); ++i) {
        ScanEntry& entry = table[i];
        if (!entry.scanner) {
            continue;
        }
        entry.scanner->Scan(entry.issues.get());
        if (const HWND window = ScanWindow()) {
            SendMessageA(window, ScannerFinishedMessage, i, reinterpret_cast<LPARAM>(&entry));
        }
        if (entry.scanner->IsStopRequested()) {
            break;
        }
    }
    if (const HWND window = ScanWindow()) {
        SendMessageA(window, ScanFinishedMessage, 0, 0);
    }
}

bool ScanThread::Start(ScanTable& table)
{
    // _beginthreadex rather than _beginthread: its handle stays valid after the thread ends, so it can be waited on.
    handle_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &ScanWorker, &table, 0, nullptr)));
    return handle_.valid();
}

bool ScanThread::IsRunning() const noexcept
{
    return handle_ && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

void ScanThread::RequestStop(const ScanTable& table) const noexcept
{
    if (handle_) {
        SuspendThread(handle_.get());
    }
    for (const ScanEntry& entry : table) {
        if (entry.scanner) {
            entry.scanner->RequestStop();
        }
    }
    if (handle_) {
        ResumeThread(handle_.get());
    }
}

void ScanThread::Wait() noexcept
{
    while (handle_) {
        const HANDLE worker = handle_.get();
        const DWORD woken = MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 + 1) {
            // Only messages sent by other threads are handled here; posted ones wait for the loops.
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else {
            handle_.reset();
        }
    }
}

bool ScanThread::ReleaseEnded() noexcept
{
    if (!handle_ || IsRunning()) {
        return false;
    }
    handle_.reset();
    return true;
}
