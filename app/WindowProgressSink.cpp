#include "app/WindowProgressSink.h"

#include <commctrl.h>

WindowProgressSink::WindowProgressSink(HWND currentItem, HWND progressBar) noexcept
    : line_(currentItem),
      bar_(progressBar),
      windowThread_(GetWindowThreadProcessId(progressBar ? progressBar : currentItem, nullptr))
{
}

int WindowProgressSink::Step(int delta)
{
    position_ += delta;
    Changed(PositionChanged);
    return position_;
}

void WindowProgressSink::SetRange(int n)
{
    range_ = n;
    Changed(RangeChanged);
}

void WindowProgressSink::SetPosition(int p)
{
    position_ = p;
    Changed(PositionChanged);
}

void WindowProgressSink::SetText(const std::string& text)
{
    text_ = text;
    Changed(TextChanged);
}

void WindowProgressSink::Changed(Change change)
{
    held_ |= change;
    if (Due()) {
        Show();
    }
}

bool WindowProgressSink::Due() noexcept
{
    if (GetCurrentThreadId() == windowThread_) {
        return true;
    }
    const DWORD now = GetTickCount();
    if (shownBefore_ && now - shownAt_ < ShowInterval) {
        return false;
    }
    shownBefore_ = true;
    shownAt_ = now;
    return true;
}

void WindowProgressSink::Show()
{
    const unsigned held = held_;
    held_ = 0;
    if (held & RangeChanged) {
        SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(range_)));
    }
    if (held & (RangeChanged | PositionChanged)) {
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
        UpdateWindow(bar_);
    }
    if ((held & TextChanged) && IsWindow(line_)) {
        SetWindowTextA(line_, text_.c_str());
        InvalidateRect(line_, nullptr, TRUE);
        UpdateWindow(line_);
    }
}
