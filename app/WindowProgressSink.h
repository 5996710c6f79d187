// WindowProgressSink: shows a walk's progress in the main window's progress bar and current-item line. A call on
// the window's own thread shows its change at once. A call from another thread (the scan's worker) reaches the
// controls by SendMessage and so waits for the window: such calls show their changes at most every ShowInterval,
// as often as a person can follow, rather than once per registry entry; a change not shown is shown with the next.
#pragma once

#include "registry/ProgressSink.h"

#include <windows.h>

#include <string>

class WindowProgressSink : public ProgressSink {
public:
    static constexpr DWORD ShowInterval = 50;

    WindowProgressSink(HWND currentItem, HWND progressBar) noexcept;

    int Range() const override { return range_; }
    int Step(int delta) override;
    // The bar's range message carries its maximum in 16 bits, so only the low 16 bits of n reach the bar.
    void SetRange(int n) override;
    int Position() const override { return position_; }
    void SetPosition(int p) override;
    void SetText(const std::string& text) override;

private:
    enum Change : unsigned { RangeChanged = 1, PositionChanged = 2, TextChanged = 4 };

    // Notes a change and shows every change held so far when it is time to.
    void Changed(Change change);
    bool Due() noexcept;
    void Show();

    HWND line_;
    HWND bar_;
    DWORD windowThread_;
    int position_ = 0;
    int range_ = 0;
    std::string text_;
    unsigned held_ = 0;
    bool shownBefore_ = false;
    DWORD shownAt_ = 0;
};
