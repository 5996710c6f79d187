// The scale a window is drawn at, and what follows from it: pixels from 96-DPI design pixels, the message font,
// and art picked and scaled for it. Windows before 10 lack the per-window calls; there the system's DPI serves.
#pragma once

#include "framework/GdiHandles.h"

#include <windows.h>

constexpr UINT kDesignDpi = 96;

// The DPI of the monitor window is on (per-monitor aware), else the system's.
UINT WindowDpi(HWND window) noexcept;
// A length of the 96-DPI design at dpi, rounded to the nearest pixel.
inline int Scaled(int length, UINT dpi) noexcept
{
    return MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}
// The system's message font as it is at dpi; the stock GUI font if none can be made.
UniqueFont MessageFont(UINT dpi, LONG weight = FW_NORMAL) noexcept;
// The outer size of a window with style and exStyle whose client area is client, at dpi.
SIZE FrameSizeFor(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi) noexcept;
// Moves and sizes dialog's controls to where its template puts them at 96 DPI (6x13 base units), scaled to dpi:
// a skin drawn in pixels then stays in register with them, whatever base units the font gives at that DPI.
void PlaceDialogControlsForDpi(HWND dialog, UINT dpi) noexcept;
// Asks Windows to leave the layout and fonts of dialog alone when its DPI changes: it lays itself out.
void TakeOverDialogDpiChanges(HWND dialog) noexcept;
// The art for dpi: the 100% bitmap at 96 DPI, the 200% one at 192, and the 200% one scaled down with a
// smoothing filter between. The 100% bitmap alone where there is no 200% one. Size is that of the 100% bitmap
// scaled to dpi.
UniqueBitmap LoadScaledBitmap(UINT id, UINT largeId, UINT dpi) noexcept;
