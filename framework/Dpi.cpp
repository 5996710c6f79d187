#include "framework/Dpi.h"

#include "framework/Resources.h"

namespace {

template <typename Function>
Function UserFunction(const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

UINT SystemDpi() noexcept
{
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UniqueBitmap ScaledCopy(HBITMAP source, SIZE from, SIZE to) noexcept
{
    const HDC screen = GetDC(nullptr);
    UniqueBitmap copy(CreateCompatibleBitmap(screen, to.cx, to.cy));
    UniqueMemoryDc sourceDc(CreateCompatibleDC(screen));
    UniqueMemoryDc targetDc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!copy || !sourceDc || !targetDc) {
        return {};
    }
    SelectedObject fromSelected(sourceDc.get(), source);
    SelectedObject toSelected(targetDc.get(), copy.get());
    // Halftone averages the source pixels under each target pixel: lines and text stay smooth when shrunk.
    SetStretchBltMode(targetDc.get(), HALFTONE);
    SetBrushOrgEx(targetDc.get(), 0, 0, nullptr);
    StretchBlt(targetDc.get(), 0, 0, to.cx, to.cy, sourceDc.get(), 0, 0, from.cx, from.cy, SRCCOPY);
    return copy;
}

}  // namespace

UINT WindowDpi(HWND window) noexcept
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpi = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = getDpi && window ? getDpi(window) : 0;
    return dpi > 0 ? dpi : SystemDpi();
}

UniqueFont MessageFont(UINT dpi, LONG weight) noexcept
{
    using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    static const auto forDpi = UserFunction<ForDpiFunction>("SystemParametersInfoForDpi");
    // The call for a DPI exists in its wide form only.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    bool read = forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    if (!read && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // The system's answer is for its own DPI.
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
        read = true;
    }
    if (!read) {
        return UniqueFont(CreateFontA(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, weight, 0, 0, 0,
                                      DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "MS Shell Dlg"));
    }
    metrics.lfMessageFont.lfWeight = weight;
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

SIZE FrameSizeFor(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi) noexcept
{
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = UserFunction<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, style, menu, exStyle, dpi)) {
        AdjustWindowRectEx(&frame, style, menu, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void PlaceDialogControlsForDpi(HWND dialog, UINT dpi) noexcept
{
    RECT units{0, 0, 4, 8};
    if (!MapDialogRect(dialog, &units) || units.right <= 0 || units.bottom <= 0) {
        return;
    }
    // From the pixels of the present base units back to dialog units, then to 96-DPI pixels and on to dpi.
    const auto x = [&](LONG pixels) { return Scaled(MulDiv(pixels, 6, units.right), dpi); };
    const auto y = [&](LONG pixels) { return Scaled(MulDiv(pixels, 13, units.bottom), dpi); };
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        MoveWindow(child, x(place.left), y(place.top), x(place.right) - x(place.left), y(place.bottom) - y(place.top),
                   FALSE);
    }
}

void TakeOverDialogDpiChanges(HWND dialog) noexcept
{
    // DDC_DISABLE_ALL for both mask and values: no automatic resize, no font change, no control moves.
    using BehaviourFunction = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = UserFunction<BehaviourFunction>("SetDialogDpiChangeBehavior");
    if (setBehaviour) {
        setBehaviour(dialog, 1, 1);
    }
}

UniqueBitmap LoadScaledBitmap(UINT id, UINT largeId, UINT dpi) noexcept
{
    UniqueBitmap small = LoadBitmapResource(id);
    const SIZE base = BitmapSize(small.get());
    if (dpi <= kDesignDpi || base.cx <= 0) {
        return small;
    }
    UniqueBitmap large = largeId ? LoadBitmapResource(largeId) : UniqueBitmap();
    const SIZE target{Scaled(base.cx, dpi), Scaled(base.cy, dpi)};
    HBITMAP source = large ? large.get() : small.get();
    const SIZE from = BitmapSize(source);
    if (from.cx == target.cx && from.cy == target.cy) {
        return large ? std::move(large) : std::move(small);
    }
    UniqueBitmap scaled = ScaledCopy(source, from, target);
    return scaled ? std::move(scaled) : std::move(small);
}
