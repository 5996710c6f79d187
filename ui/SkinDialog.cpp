#include "ui/SkinDialog.h"

#include "framework/Dpi.h"
#include "framework/Resources.h"
#include "resources/resource.h"

bool CSkinDialog::SetBackground(UINT bitmapId)
{
    background_ = LoadScaledBitmap(bitmapId, bitmapId + IDB_LARGE_ART_OFFSET, WindowDpi(GetSafeHwnd()));
    Invalidate();
    return background_.valid();
}

bool CSkinDialog::FitClientToBackground() const noexcept
{
    const SIZE skin = BitmapSize(background_.get());
    if (!IsWindow() || skin.cx <= 0 || skin.cy <= 0) {
        return false;
    }
    const HWND window = GetSafeHwnd();
    RECT frame{};
    GetWindowRect(window, &frame);
    // Corrected by what the client area lacks rather than computed from the styles, so that a menu bar that wraps
    // or a frame the system draws its own way is taken into account too.
    for (int pass = 0; pass < 2; ++pass) {
        const RECT client = GetClientRect();
        frame.right += skin.cx - client.right;
        frame.bottom += skin.cy - client.bottom;
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const RECT client = GetClientRect();
    return client.right == skin.cx && client.bottom == skin.cy;
}

std::optional<LRESULT> CSkinDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        PaintBackground(reinterpret_cast<HDC>(wParam));
        return TRUE;
    }
    return CDialog::HandleMessage(message, wParam, lParam);
}

void CSkinDialog::PaintBackground(HDC dc) const
{
    const RECT client = GetClientRect();
    const SIZE tile = BitmapSize(background_.get());
    // An empty bitmap would never cover anything: treated as none.
    if (tile.cx <= 0 || tile.cy <= 0) {
        UniqueBrush plain(CreateSolidBrush(kPlainBackground));
        FillRect(dc, &client, plain.get());
        return;
    }
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    SelectedObject selected(source.get(), background_.get());
    for (LONG top = 0; top < client.bottom; top += tile.cy) {
        for (LONG left = 0; left < client.right; left += tile.cx) {
            BitBlt(dc, left, top, tile.cx, tile.cy, source.get(), 0, 0, SRCCOPY);
        }
    }
}
