#include "ui/Label.h"
#include "ui/TransparentStatic.h"

#include "tests/framework/WindowTesting.h"

#include <gtest/gtest.h>

namespace {

// Counts the pixels of one colour in each half of a window's client area.
struct ColourCount {
    int left = 0;
    int right = 0;
    int Total() const { return left + right; }
};

ColourCount Count(HWND window, COLORREF colour, int fromColumn = 0)
{
    const Pixels shown(window);
    ColourCount count;
    for (int y = 0; y < shown.Size().cy; ++y) {
        for (int x = fromColumn; x < shown.Size().cx; ++x) {
            if (shown.At(x, y) == colour) {
                (x < shown.Size().cx / 2 ? count.left : count.right)++;
            }
        }
    }
    return count;
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
    const Pixels shown(label.GetSafeHwnd());
    EXPECT_EQ(shown.At(0, 0), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(shown.At(shown.Size().cx - 1, shown.Size().cy - 1), GetSysColor(COLOR_ACTIVECAPTION));
    const COLORREF text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    EXPECT_GT(Count(label.GetSafeHwnd(), text, 10).Total(), 0) << "the title is drawn";
    EXPECT_EQ(Count(label.GetSafeHwnd(), text).Total(), Count(label.GetSafeHwnd(), text, 10).Total())
        << "nothing left of the 10-pixel margin";
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

    EXPECT_EQ(Pixels(normal.GetSafeHwnd()).At(0, 0), RGB(255, 255, 255));
    const ColourCount wrapped = Count(normal.GetSafeHwnd(), RGB(0, 0, 0));
    EXPECT_GT(wrapped.left, 0);
    EXPECT_EQ(wrapped.right, 0) << "word-break layout starts at the left";

    normal.SetFormat(CTransparentStatic::kOneLineRight);
    const ColourCount right = Count(normal.GetSafeHwnd(), RGB(0, 0, 0));
    EXPECT_EQ(right.left, 0);
    EXPECT_GT(right.right, 0) << "one line, right-aligned";

    bold.SetFormat(CTransparentStatic::kOneLineRight);
    bold.SetWeight(FW_BOLD);
    EXPECT_GT(Count(bold.GetSafeHwnd(), RGB(0, 0, 0)).Total(), right.Total()) << "bold text is heavier";
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
