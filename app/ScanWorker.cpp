#include "app/ScanWorker.h"

void WindowScanObserver::ScannerFinished(size_t index, const ScanEntry& entry)
{
    if (const HWND window = window_) {
        SendMessageA(window, ScannerFinishedMessage, index, reinterpret_cast<LPARAM>(&entry));
    }
}

void WindowScanObserver::ScanFinished()
{
    if (const HWND window = window_) {
        SendMessageA(window, ScanFinishedMessage, 0, 0);
    }
}
