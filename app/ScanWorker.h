// How the scan worker hands results to the main window: two messages, each sent synchronously, so that the worker
// waits while the window takes the results over.
#pragma once

#include "engine/ScanSession.h"

#include <windows.h>

#include <atomic>

// wParam: the scanner's index; lParam: its ScanEntry. Sent after each scanner, while the worker waits.
constexpr UINT ScannerFinishedMessage = 101;
// Sent once, when every scanner has run or a stop was honoured.
constexpr UINT ScanFinishedMessage = 102;

// Sends the two messages to the main window while it has one; with none the scan runs on unheard.
class WindowScanObserver : public ScanObserver {
public:
    void SetWindow(HWND window) noexcept { window_ = window; }
    HWND Window() const noexcept { return window_; }

    void ScannerFinished(size_t index, const ScanEntry& entry) override;
    void ScanFinished() override;

private:
    std::atomic<HWND> window_{nullptr};
};
