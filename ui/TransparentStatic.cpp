#include "ui/TransparentStatic.h"

void CTransparentStatic::SetColour(BYTE red, BYTE green, BYTE blue) noexcept
{
    colour_ = RGB(red, green, blue);
}

void CTransparentStatic::SetWeight(int weight) noexcept
{
    weight_ = weight;
    Invalidate();
}

void CTransparentStatic::SetFormat(UINT flags) noexcept
{
    format_ = flags;
    Invalidate();
}

std::optional<LRESULT> CTransparentStatic::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    default:
        return CStatic::HandleMessage(message, wParam, lParam);
    }
}

std::optional<LRESULT> CTransparentStatic::HandleReflected(UINT message, WPARAM, LPARAM)
{
    if (message != WM_CTLCOLORSTATIC) {
        return std::nullopt;
    }
    brush_.reset(CreateSolidBrush(colour_));
    return reinterpret_cast<LRESULT>(brush_.get());
}

void CTransparentStatic::Paint()
{
    PaintDc paint(GetSafeHwnd());
    RECT client = GetClientRect();
    FillRect(paint.get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    const std::string text = GetWindowText();
    const UniqueFont font = FontWithWeight(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), weight_);
    SelectedObject selected(paint.get(), font.get());
    SetBkMode(paint.get(), TRANSPARENT);
    SetTextColor(paint.get(), RGB(0, 0, 0));
    DrawTextA(paint.get(), text.c_str(), -1, &client, format_);
}
