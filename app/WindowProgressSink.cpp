#include "app/WindowProgressSink.h"

#include <commctrl.h>

WindowProgressSink::WindowProgressSink(HWND currentItem, HWND progressBar) noexcept
    : line_(currentItem),
      bar_(progressBar),
      windowThread_(GetWindowThreadProcessId(progressBar ? progressBar : currentItem, nullptr))
{
}

int WindowProgressSink::Range() const
{
    const std::lock_guard lock(mutex_);
    return range_;
}

int WindowProgressSink::Step(int delta)
{
    std::unique_lock lock(mutex_);
    const int position = position_ += delta;
    Noted(lock, PositionChanged);
    return position;
}

void WindowProgressSink::SetRange(int n)
{
    std::unique_lock lock(mutex_);
    range_ = n;
    Noted(lock, RangeChanged);
}

int WindowProgressSink::Position() const
{
    const std::lock_guard lock(mutex_);
    return position_;
}

void WindowProgressSink::SetPosition(int p)
{
    std::unique_lock lock(mutex_);
    position_ = p;
    Noted(lock, PositionChanged);
}

void WindowProgressSink::SetText(const std::string& text)
{
    std::unique_lock lock(mutex_);
    text_ = text;
    Noted(lock, TextChanged);
}

void WindowProgressSink::Noted(std::unique_lock<std::mutex>& lock, Change change)
{
    noted_ |= change;
    if (GetCurrentThreadId() == windowThread_) {
        lock.unlock();
        ShowNoted();
    }
}

void WindowProgressSink::ShowNoted()
{
    std::unique_lock lock(mutex_);
    const unsigned noted = noted_;
    const int range = range_;
    const int position = position_;
    const std::string text = noted & TextChanged ? text_ : std::string();
    noted_ = 0;
    // Shown without the lock, so that the worker never waits for a painting.
    lock.unlock();
    if (noted & RangeChanged) {
        SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(range)));
    }
    if (noted & (RangeChanged | PositionChanged)) {
        SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
        UpdateWindow(bar_);
    }
    if ((noted & TextChanged) && IsWindow(line_)) {
        SetWindowTextA(line_, text.c_str());
        InvalidateRect(line_, nullptr, TRUE);
        UpdateWindow(line_);
    }
}
