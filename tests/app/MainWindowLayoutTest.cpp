#include "app/MainWindowLayout.h"
#include "app/WindowMemory.h"
#include "framework/Dpi.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

namespace {

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both{};
    return IntersectRect(&both, &a, &b) != FALSE;
}

int TextHeightAt(UINT dpi)
{
    const UniqueFont font = MessageFont(dpi);
    const HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    {
        SelectedObject selected(dc, font.get());
        GetTextMetricsA(dc, &metrics);
    }
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

// Every control lies in the client area, clear of every other, and the results reach the right margin.
void ExpectSound(SIZE client, UINT dpi)
{
    const MainWindowLayout layout = LayOutMainWindow(client, dpi, TextHeightAt(dpi));
    const RECT area{0, 0, client.cx, client.cy};
    for (size_t i = 0; i < layout.controls.size(); ++i) {
        const ControlPlace& one = layout.controls[i];
        RECT inside{};
        IntersectRect(&inside, &one.rect, &area);
        EXPECT_TRUE(EqualRect(&inside, &one.rect)) << one.id << " clipped at " << dpi << " DPI";
        for (size_t j = i + 1; j < layout.controls.size(); ++j) {
            EXPECT_FALSE(Overlap(one.rect, layout.controls[j].rect))
                << one.id << " and " << layout.controls[j].id << " overlap at " << dpi << " DPI, " << client.cx;
        }
        EXPECT_FALSE(one.id != IDC_BUSY && Overlap(one.rect, layout.banner)) << one.id << " under the banner";
    }
    EXPECT_EQ(layout.results.right, client.cx - Scaled(9, dpi));
    EXPECT_GT(layout.results.bottom - layout.results.top, client.cy / 3);
    EXPECT_LT(layout.results.bottom, layout.footerLine);
}

}  // namespace

TEST(MainWindowLayoutTest, NothingOverlapsOrIsClippedAtAnyScaleSmallestOrLarge)
{
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
        const SIZE smallest{Scaled(kMainWindowMinClient.cx, dpi), Scaled(kMainWindowMinClient.cy, dpi)};
        ExpectSound(smallest, dpi);
        ExpectSound({smallest.cx * 2, smallest.cy * 3 / 2}, dpi);
    }
}

TEST(MainWindowLayoutTest, CountersTakeASecondColumnOnlyWhenTheyNeedIt)
{
    const MainWindowLayout tall = LayOutMainWindow({900, 700}, 96, 13);
    EXPECT_EQ(tall.counterColumns, 1);
    const MainWindowLayout squeezed = LayOutMainWindow({900, 415}, 96, 13);
    EXPECT_EQ(squeezed.counterColumns, 2);
    EXPECT_GT(squeezed.results.left, tall.results.left);
}

TEST(WindowMemoryTest, OnlyWholeValuesAreRead)
{
    const auto place = ReadPlace(PlaceText(RECT{-20, 30, 900, 700}, true));
    ASSERT_TRUE(place);
    EXPECT_EQ(place->first.left, -20);
    EXPECT_EQ(place->first.bottom, 700);
    EXPECT_TRUE(place->second);
    for (const char* bad : {"", "1 2 3", "1 2 3 4 1 5", "10 10 5 20 0", "0 0 10 10 2", "0 0 10 x 0",
                            "0 0 99999999999 10 0", "0 0 10 10 0 \x01"}) {
        EXPECT_FALSE(ReadPlace(bad)) << bad;
    }
    EXPECT_EQ(ReadNumbers(NumbersText({130, 0, 80})), (std::vector<int>{130, 0, 80}));
    EXPECT_TRUE(IsOnAScreen(RECT{10, 10, 300, 300}));
    EXPECT_FALSE(IsOnAScreen(RECT{-90000, -90000, -89000, -89000}));
}
