#include "app/MainWindowSkin.h"

#include "framework/Dpi.h"
#include "resources/resource.h"

namespace {

constexpr COLORREF kHairline = RGB(222, 228, 235);

void Blit(HDC dc, HDC source, int left, int top, SIZE size)
{
    BitBlt(dc, left, top, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

}  // namespace

void MainWindowSkin::SetDpi(UINT dpi)
{
    header_ = LoadScaledBitmap(IDB_MAIN_HEADER, IDB_MAIN_HEADER + IDB_LARGE_ART_OFFSET, dpi);
    banner_ = LoadScaledBitmap(IDB_MAIN_BANNER, IDB_MAIN_BANNER + IDB_LARGE_ART_OFFSET, dpi);
}

void MainWindowSkin::Paint(HDC dc, const RECT& client, const MainWindowLayout& layout) const
{
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    const SIZE strip = BitmapSize(header_.get());
    if (strip.cx > 0) {
        SelectedObject selected(source.get(), header_.get());
        for (LONG left = 0; left < client.right; left += strip.cx) {
            Blit(dc, source.get(), left, 0, strip);
        }
    }
    if (banner_) {
        SelectedObject selected(source.get(), banner_.get());
        Blit(dc, source.get(), layout.banner.left, layout.banner.top, BitmapSize(banner_.get()));
    }
    const RECT line{client.left, layout.footerLine, client.right, layout.footerLine + layout.hairline};
    UniqueBrush hairline(CreateSolidBrush(kHairline));
    FillRect(dc, &line, hairline.get());
}
