#include "ui/Label.h"
#include "ui/TransparentStatic.h"

#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// What text put down on a plain ground, in each half of a window's client area: the pixels it marked, and its ink
// (each marked pixel's distance from the ground, summed over the three channels). Text is drawn smoothed, so a
// heavier font shows as more ink, not necessarily as more pixels of the exact text colour.
struct Marks {
    int left = 0;
    int right = 0;
    long ink = 0;
    int Total() const { return left + right; }
};

Marks MarksOn(HWND window, COLORREF ground, int fromColumn = 0)
{
    const auto distance = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
               std::abs(GetBValue(a) - GetBValue(b));
    };
    const Pixels shown(window);
    Marks marks;
    for (int y = 0; y < shown.Size().cy; ++y) {
        for (int x = fromColumn; x < shown.Size().cx; ++x) {
            const int away = distance(shown.At(x, y), ground);
            if (away > 0) {
                (x < shown.Size().cx / 2 ? marks.left : marks.right)++;
                marks.ink += away;
            }
        }
    }
    return marks;
}

class LabelTest : public testing::Test {
protected:
    HWND AddStatic(const char* text, UINT id, int top)
    {
        return host.AddControl("STATIC", text, SS_LEFT, RECT{10, top, 250, top + 24}, id);
    }

    HostWindow host;
};

}  // namespace

TEST_F(LabelTest, LabelIsACaptionColouredBarWithItsTextTenPixelsIn)
{
    AddStatic("General", 1017, 10);
    CLabel label;
    ASSERT_TRUE(label.SubclassDlgItem(1017, host.GetSafeHwnd()));
    const COLORREF caption = GetSysColor(COLOR_ACTIVECAPTION);
    const Pixels shown(label.GetSafeHwnd());
    EXPECT_EQ(shown.At(0, 0), caption);
    EXPECT_EQ(shown.At(shown.Size().cx - 1, shown.Size().cy - 1), caption);
    const Marks title = MarksOn(label.GetSafeHwnd(), caption);
    EXPECT_GT(title.Total(), 0) << "the title is drawn";
    EXPECT_EQ(title.Total(), MarksOn(label.GetSafeHwnd(), caption, 10).Total()) << "nothing left of the margin";
    EXPECT_EQ(title.right, 0) << "one short line from the left";
    EXPECT_GT(Pixels(label.GetSafeHwnd()).Count(GetSysColor(COLOR_HIGHLIGHTTEXT)), 0) << "in the caption text colour";
}

TEST_F(LabelTest, TransparentStaticIsBlackOnWhiteWithItsWeightAndLayout)
{
    AddStatic("0", 1035, 10);
    AddStatic("0", 1039, 40);
    CTransparentStatic normal;
    CTransparentStatic bold;
    ASSERT_TRUE(normal.SubclassDlgItem(1035, host.GetSafeHwnd()));
    ASSERT_TRUE(bold.SubclassDlgItem(1039, host.GetSafeHwnd()));
    EXPECT_EQ(normal.Format(), 16u);
    EXPECT_EQ(normal.Weight(), 400);
    EXPECT_EQ(normal.Colour(), RGB(255, 255, 255));

    const COLORREF white = RGB(255, 255, 255);
    EXPECT_EQ(Pixels(normal.GetSafeHwnd()).At(0, 0), white);
    EXPECT_GT(Pixels(normal.GetSafeHwnd()).Count(RGB(0, 0, 0)), 0) << "black text";
    const Marks wrapped = MarksOn(normal.GetSafeHwnd(), white);
    EXPECT_GT(wrapped.left, 0);
    EXPECT_EQ(wrapped.right, 0) << "word-break layout starts at the left";

    normal.SetFormat(CTransparentStatic::kOneLineRight);
    const Marks right = MarksOn(normal.GetSafeHwnd(), white);
    EXPECT_EQ(right.left, 0);
    EXPECT_GT(right.right, 0) << "one line, right-aligned";

    bold.SetFormat(CTransparentStatic::kOneLineRight);
    bold.SetWeight(FW_BOLD);
    EXPECT_GT(MarksOn(bold.GetSafeHwnd(), white).ink, right.ink * 11 / 10) << "bold text is heavier";
}

TEST_F(LabelTest, ColourRequestGetsAFreshBrushOfTheChosenColourAndTheOldOneIsDeleted)
{
    AddStatic("Errors found", 1025, 10);
    CTransparentStatic label;
    ASSERT_TRUE(label.SubclassDlgItem(1025, host.GetSafeHwnd()));
    label.SetColour(10, 20, 30);
    const auto ask = [&] {
        HDC dc = GetDC(label.GetSafeHwnd());
        const auto brush = reinterpret_cast<HBRUSH>(host.SendMessage(
            WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label.GetSafeHwnd())));
        ReleaseDC(label.GetSafeHwnd(), dc);
        return brush;
    };
    const HBRUSH first = ask();
    LOGBRUSH description{};
    ASSERT_TRUE(GetObjectA(first, sizeof description, &description));
    EXPECT_EQ(description.lbColor, RGB(10, 20, 30));

    label.SetColour(255, 255, 255);
    const HBRUSH second = ask();
    ASSERT_TRUE(GetObjectA(second, sizeof description, &description));
    EXPECT_EQ(description.lbColor, RGB(255, 255, 255));
    EXPECT_EQ(GetObjectType(first), 0u) << "the previous brush is deleted";
}
