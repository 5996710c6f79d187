#include "ui/Label.h"

#include "framework/GdiHandles.h"

std::optional<LRESULT> CLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        Paint();
        return 0;
    }
    return CStatic::HandleMessage(message, wParam, lParam);
}

void CLabel::Paint()
{
    PaintDc paint(GetSafeHwnd());
    RECT client = GetClientRect();
    FillRect(paint.get(), &client, GetSysColorBrush(COLOR_ACTIVECAPTION));

    char text[256] = "";
    ::GetWindowTextA(GetSafeHwnd(), text, sizeof text);
    const UniqueFont bold = FontWithWeight(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), FW_BOLD);
    SelectedObject font(paint.get(), bold.get());
    SetBkMode(paint.get(), TRANSPARENT);
    SetTextColor(paint.get(), GetSysColor(COLOR_HIGHLIGHTTEXT));
    client.left += 10;
    DrawTextA(paint.get(), text, -1, &client, DT_SINGLELINE | DT_VCENTER);
}
