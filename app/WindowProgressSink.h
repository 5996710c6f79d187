// WindowProgressSink: shows a walk's progress in the main window's progress bar and current-item line. A call on
// the window's own thread shows its change at once. A call from another thread (the scan's worker) only notes its
// change, so that the worker never waits for the window to paint; the window shows what was noted by calling
// ShowNoted on its own thread, every ShowInterval while a scan runs: as often as a person can follow.
#pragma once

#include "registry/ProgressSink.h"

#include <windows.h>

#include <mutex>
#include <string>

class WindowProgressSink : public ProgressSink {
public:
    static constexpr UINT ShowInterval = 50;

    WindowProgressSink(HWND currentItem, HWND progressBar) noexcept;

    int Range() const override;
    int Step(int delta) override;
    // The bar's range message carries its maximum in 16 bits, so only the low 16 bits of n reach the bar.
    void SetRange(int n) override;
    int Position() const override;
    void SetPosition(int p) override;
    void SetText(const std::string& text) override;

    // Shows the changes noted since the last showing; for the window's thread.
    void ShowNoted();

private:
    enum Change : unsigned { RangeChanged = 1, PositionChanged = 2, TextChanged = 4 };

    // Notes a change; on the window's thread, shows it too.
    void Noted(std::unique_lock<std::mutex>& lock, Change change);

    HWND line_;
    HWND bar_;
    DWORD windowThread_;
    mutable std::mutex mutex_;
    int position_ = 0;
    int range_ = 0;
    std::string text_;
    unsigned noted_ = 0;
};
