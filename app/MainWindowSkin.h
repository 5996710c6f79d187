// The main window's background at any size: the header band repeated across the top, the banner at its right,
// white below and a hairline above the lower buttons, each drawn from the art for the window's DPI.
#pragma once

#include "app/MainWindowLayout.h"
#include "framework/GdiHandles.h"

class MainWindowSkin {
public:
    void SetDpi(UINT dpi);
    void Paint(HDC dc, const RECT& client, const MainWindowLayout& layout) const;

private:
    UniqueBitmap header_;
    UniqueBitmap banner_;
};
