#include "framework/Anchors.h"

void Anchors::Start(HWND dialog)
{
    dialog_ = dialog;
    tied_.clear();
    RECT client{};
    GetClientRect(dialog, &client);
    client_ = {client.right, client.bottom};
    RECT window{};
    GetWindowRect(dialog, &window);
    window_ = {window.right - window.left, window.bottom - window.top};
}

void Anchors::Tie(int controlId, unsigned ties)
{
    const HWND control = GetDlgItem(dialog_, controlId);
    if (!control) {
        return;
    }
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
    tied_.push_back({control, place, ties});
}

void Anchors::Apply() const
{
    RECT client{};
    if (!dialog_ || !GetClientRect(dialog_, &client)) {
        return;
    }
    const LONG dx = client.right - client_.cx;
    const LONG dy = client.bottom - client_.cy;
    for (const Tied& tied : tied_) {
        RECT place = tied.place;
        if (tied.ties & KeepsRight) {
            OffsetRect(&place, dx, 0);
        } else if (tied.ties & Grows) {
            place.right += dx;
        }
        if (tied.ties & KeepsBottom) {
            OffsetRect(&place, 0, dy);
        } else if (tied.ties & GrowsDown) {
            place.bottom += dy;
        }
        MoveWindow(tied.control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
    }
}

SIZE Anchors::Growth() const noexcept
{
    RECT client{};
    if (!dialog_ || !GetClientRect(dialog_, &client)) {
        return {};
    }
    return {client.right - client_.cx, client.bottom - client_.cy};
}

void Anchors::OnMessage(UINT message, LPARAM lParam) const
{
    if (message == WM_SIZE) {
        Apply();
    } else if (message == WM_GETMINMAXINFO && dialog_) {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {window_.cx, window_.cy};
    }
}
