#include "ui/CounterLayout.h"

#include "scanners/Categories.h"

#include <algorithm>

namespace {

// A rectangle of dialog units as pixels of window.
RECT InPixels(HWND window, int left, int top, int width, int height)
{
    RECT rect{left, top, left + width, top + height};
    MapDialogRect(window, &rect);
    return rect;
}

void Place(HWND window, UINT id, const RECT& rect, bool shown)
{
    const HWND control = GetDlgItem(window, static_cast<int>(id));
    if (!control) {
        return;
    }
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE);
}

}  // namespace

void LayOutCounters(HWND window, const CounterArea& area, const std::array<bool, CategoryCount>& shown)
{
    constexpr int TextHeight = 8;
    const int rows = static_cast<int>(std::count(shown.begin(), shown.end(), true));
    const int height = std::max<int>(area.area.bottom - area.area.top, area.minPitch);
    const int width = area.area.right - area.area.left;
    const int perColumn = std::max(height / area.minPitch, 1);
    const int columns = std::max((rows + perColumn - 1) / perColumn, 1);
    const int rowsPerColumn = (rows + columns - 1) / columns;
    const int pitch = rowsPerColumn > 0 ? std::min(area.maxPitch, height / rowsPerColumn) : area.maxPitch;
    // A gap between columns keeps one column's counts from running into the next column's labels.
    constexpr int ColumnGap = 8;
    const int columnWidth = (width - ColumnGap * (columns - 1)) / columns;
    const int counterWidth = std::min(area.counterWidth, columnWidth / 3);
    int row = 0;
    for (int i = 1; i <= CategoryCount; ++i) {
        const bool show = shown[static_cast<size_t>(i - 1)];
        const int left = static_cast<int>(area.area.left) + (row / std::max(rowsPerColumn, 1)) * (columnWidth + ColumnGap);
        const int top = static_cast<int>(area.area.top) + (row % std::max(rowsPerColumn, 1)) * pitch;
        Place(window, CounterLabelId(i), InPixels(window, left, top, columnWidth - counterWidth - 2, TextHeight), show);
        Place(window, CounterId(i), InPixels(window, left + columnWidth - counterWidth, top, counterWidth, TextHeight),
              show);
        row += show;
    }
}
