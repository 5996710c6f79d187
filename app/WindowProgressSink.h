// WindowProgressSink: shows a walk's progress in the main window's progress bar and current-item line. Every call
// reaches the controls by SendMessage, so a call from the worker runs on the window's thread.
#pragma once

#include "registry/ProgressSink.h"

#include <windows.h>

class WindowProgressSink : public ProgressSink {
public:
    WindowProgressSink(HWND currentItem, HWND progressBar) noexcept : line_(currentItem), bar_(progressBar) {}

    int Range() const override { return range_; }
    int Step(int delta) override;
    // The bar's range message carries its maximum in 16 bits, so only the low 16 bits of n reach the bar.
    void SetRange(int n) override;
    int Position() const override { return position_; }
    void SetPosition(int p) override;
    void SetText(const std::string& text) override;

private:
    void ShowPosition() const noexcept;

    HWND line_;
    HWND bar_;
    int position_ = 0;
    int range_ = 0;
};
