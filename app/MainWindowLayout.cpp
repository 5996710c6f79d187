#include "app/MainWindowLayout.h"

#include "framework/Dpi.h"
#include "resources/resource.h"
#include "engine/ScanResults.h"
#include "scanners/Categories.h"

#include <algorithm>

namespace {

// 96-DPI pixels; the button sizes are those of their art.
struct Design {
    static constexpr int kButtonTop = 20;
    static constexpr int kTopButtonHeight = 41;
    static constexpr int kLowerButtonHeight = 28;
    static constexpr int kHeaderHeight = 68;
    static constexpr int kBannerWidth = 138;
    static constexpr int kBannerFromRight = 177;
    static constexpr int kContentTop = 75;
    static constexpr int kMargin = 12;
    static constexpr int kRightMargin = 9;
    static constexpr int kLabelWidth = 96;
    static constexpr int kCounterWidth = 57;
    static constexpr int kColumnGap = 12;
    static constexpr int kRowGap = 2;
    static constexpr int kTotalGap = 6;
};

class Placer {
public:
    Placer(SIZE client, UINT dpi, MainWindowLayout& layout) : client_(client), dpi_(dpi), layout_(layout) {}

    int S(int length) const { return Scaled(length, dpi_); }
    // A control at a design place measured from the left or right edge and the top or bottom edge.
    void Put(UINT id, int left, int top, int width, int height) const
    {
        layout_.controls.push_back({id, RECT{left, top, left + width, top + height}});
    }
    int FromRight(int designOffset) const { return client_.cx - S(designOffset); }
    int FromBottom(int designOffset) const { return client_.cy - S(designOffset); }

private:
    SIZE client_;
    UINT dpi_;
    MainWindowLayout& layout_;
};

void PlaceButtons(const Placer& p)
{
    const int top = p.S(Design::kButtonTop);
    const int height = p.S(Design::kTopButtonHeight);
    p.Put(IDC_START_SCAN, 0, top, p.S(141), height);
    p.Put(IDC_STOP_SCAN, p.S(142), top, p.S(144), height);
    p.Put(IDC_REPAIR_ERRORS, p.S(287), top, p.S(153), height);
    p.Put(IDC_BUSY, p.FromRight(37), p.S(28), p.S(26), p.S(28));
    const int lower = p.S(Design::kLowerButtonHeight);
    p.Put(IDC_REPAIR_LOWER, p.S(31), p.FromBottom(58), p.S(122), lower);
    p.Put(IDC_SELECT_ALL, p.FromRight(314), p.FromBottom(43), p.S(139), lower);
    p.Put(IDC_REPAIR_SELECTED, p.FromRight(158), p.FromBottom(43), p.S(139), lower);
}

// The counters, "Errors found" first, in columns top to bottom; returns the right edge of the last column.
int PlaceCounters(const Placer& p, MainWindowLayout& layout, int textHeight)
{
    const int rowHeight = textHeight + p.S(Design::kRowGap);
    const int top = p.S(Design::kContentTop);
    const int bottom = p.FromBottom(66);
    const int rows = ErrorCounterCount;
    const int perColumn = std::max(1, (bottom - top - p.S(Design::kTotalGap)) / std::max(1, rowHeight));
    layout.counterColumns = (rows + perColumn - 1) / perColumn;
    const int rowsPerColumn = (rows + layout.counterColumns - 1) / layout.counterColumns;
    const int columnWidth = p.S(Design::kLabelWidth + Design::kCounterWidth);
    const int pitch = columnWidth + p.S(Design::kColumnGap);
    for (int i = 0; i < rows; ++i) {
        const int column = i / rowsPerColumn;
        const int row = i % rowsPerColumn;
        const int left = p.S(Design::kMargin) + column * pitch;
        const int y = top + row * rowHeight + (i > 0 && column == 0 ? p.S(Design::kTotalGap) : 0);
        p.Put(CounterLabelId(i), left, y, p.S(Design::kLabelWidth), textHeight);
        p.Put(CounterId(i), left + p.S(Design::kLabelWidth), y, p.S(Design::kCounterWidth), textHeight);
    }
    return p.S(Design::kMargin) + layout.counterColumns * pitch - p.S(Design::kColumnGap);
}

// Status, current item, progress and the results list, right of the counters.
void PlaceProgress(const Placer& p, MainWindowLayout& layout, int left, int right, int textHeight)
{
    const int width = std::max(0, right - left);
    int y = p.S(Design::kContentTop);
    p.Put(IDC_STATUS, left, y, width, textHeight);
    y += textHeight + p.S(4);
    p.Put(IDC_CURRENT_ITEM, left, y, width, textHeight);
    y += textHeight + p.S(4);
    p.Put(IDC_PROGRESS_LABEL, left, y, width, textHeight);
    y += textHeight + p.S(2);
    const int barHeight = std::max(p.S(13), textHeight);
    p.Put(IDC_PROGRESS, left, y, width, barHeight);
    y += barHeight + p.S(8);
    layout.results = RECT{left, y, left + width, std::max(y, layout.footerLine - p.S(7))};
    p.Put(IDC_RESULTS_PLACEHOLDER, left, y, width, layout.results.bottom - y);
}

}  // namespace

MainWindowLayout LayOutMainWindow(SIZE client, UINT dpi, int textHeight)
{
    MainWindowLayout layout;
    const Placer p(client, dpi, layout);
    layout.headerHeight = p.S(Design::kHeaderHeight);
    layout.banner = RECT{p.FromRight(Design::kBannerFromRight), 0,
                         p.FromRight(Design::kBannerFromRight) + p.S(Design::kBannerWidth), layout.headerHeight};
    layout.footerLine = p.FromBottom(49);
    layout.hairline = std::max(1, p.S(1));
    PlaceButtons(p);
    const int countersRight = PlaceCounters(p, layout, textHeight);
    PlaceProgress(p, layout, countersRight + p.S(15), p.FromRight(Design::kRightMargin), textHeight);
    return layout;
}
