#include "app/WindowProgressSink.h"

#include <commctrl.h>

int WindowProgressSink::Step(int delta)
{
    position_ += delta;
    ShowPosition();
    return position_;
}

void WindowProgressSink::SetRange(int n)
{
    SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(n)));
    UpdateWindow(bar_);
    range_ = n;
}

void WindowProgressSink::SetPosition(int p)
{
    position_ = p;
    ShowPosition();
}

void WindowProgressSink::SetText(const std::string& text)
{
    if (!IsWindow(line_)) {
        return;
    }
    SetWindowTextA(line_, text.c_str());
    InvalidateRect(line_, nullptr, TRUE);
    UpdateWindow(line_);
}

void WindowProgressSink::ShowPosition() const noexcept
{
    SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    UpdateWindow(bar_);
}
