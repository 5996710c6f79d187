#include "ui/DriveTreeView.h"

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

#include <cstring>

#include <vector>

namespace {

constexpr int T = CDriveTreeView::kTicked;
constexpr int M = CDriveTreeView::kMixed;
constexpr int U = CDriveTreeView::kUnticked;

class DriveTreeViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The styles of the General page's tree.
        host.AddControl(WC_TREEVIEWA, "",
                        TVS_HASLINES | TVS_HASBUTTONS | TVS_CHECKBOXES | TVS_INFOTIP | WS_BORDER | WS_TABSTOP,
                        RECT{10, 10, 330, 200}, 1002);
        ASSERT_TRUE(tree.SubclassDlgItem(1002, host.GetSafeHwnd()));
    }

    void FillThree() { tree.FillDrives({{'C', "System"}, {'D', ""}, {'E', "Data"}}); }

    // The root's state followed by each drive's.
    std::vector<int> States() const
    {
        std::vector<int> states{tree.GetStateImage(tree.RootItem())};
        for (HTREEITEM drive : tree.DriveItems()) {
            states.push_back(tree.GetStateImage(drive));
        }
        return states;
    }

    HTREEITEM Drive(size_t index) const { return tree.DriveItems().at(index); }

    // The rectangle of the item's label; the message takes the item in the rectangle it fills.
    RECT TextRectOf(HTREEITEM item) const
    {
        RECT text{};
        std::memcpy(&text, &item, sizeof item);
        tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text));
        return text;
    }

    // A point on the item's tick box, found by hit-testing along the item's row; in screen coordinates.
    POINT TickBoxOf(HTREEITEM item) const
    {
        const RECT text = TextRectOf(item);
        POINT point{0, (text.top + text.bottom) / 2};
        for (; point.x < text.left; ++point.x) {
            UINT flags = 0;
            if (tree.HitTest(point, &flags) == item && (flags & TVHT_ONITEMSTATEICON)) {
                break;
            }
        }
        ClientToScreen(tree.GetSafeHwnd(), &point);
        return point;
    }

    // Press and release go in together: the control follows the mouse in a loop of its own until the release.
    void Click(POINT screen, bool twice = false) const
    {
        MoveMouseTo(screen);
        std::vector<INPUT> inputs;
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
                INPUT input{};
                input.type = INPUT_MOUSE;
                input.mi.dwFlags = flag;
                inputs.push_back(input);
            }
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        // The next click must not make a double-click of this one.
        PumpFor(GetDoubleClickTime() + 50);
    }

    void PressSpaceOn(HTREEITEM item) const
    {
        tree.SelectItem(item);
        SetFocus(tree.GetSafeHwnd());
        PressKeys({VK_SPACE});
    }

    HostWindow host;
    CDriveTreeView tree;
};

}  // namespace

TEST_F(DriveTreeViewTest, ListsThisMachinesFixedDrivesUnderMyComputer)
{
    tree.FillDrives();
    const std::vector<FixedDrive> fixed = ListFixedDrives();
    ASSERT_FALSE(fixed.empty()) << "the system drive is a fixed disk";
    EXPECT_EQ(tree.GetItemText(tree.RootItem()), "My Computer");
    EXPECT_EQ(tree.GetRootItem(), tree.RootItem());
    ASSERT_EQ(tree.DriveItems().size(), fixed.size());
    for (size_t i = 0; i < fixed.size(); ++i) {
        EXPECT_EQ(tree.GetItemText(Drive(i)), fixed[i].label + " (" + fixed[i].letter + ":)");
        EXPECT_EQ(CDriveTreeView::DriveLetter(tree.GetItemText(Drive(i))), fixed[i].letter);
        EXPECT_EQ(GetDriveTypeA((std::string(1, fixed[i].letter) + ":\\").c_str()), UINT{DRIVE_FIXED});
    }
    for (int state : States()) {
        EXPECT_EQ(state, U);
    }
    EXPECT_TRUE(tree.SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(tree.RootItem()), TVIS_EXPANDED) &
                TVIS_EXPANDED);
    const auto states = reinterpret_cast<HIMAGELIST>(tree.SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
    const auto icons = reinterpret_cast<HIMAGELIST>(tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
    EXPECT_EQ(ImageList_GetImageCount(states), 4) << "the four tick images of bitmap 156";
    EXPECT_EQ(ImageList_GetImageCount(icons), static_cast<int>(fixed.size()) + 1);

    // Filling again starts over rather than adding a second root.
    tree.FillDrives();
    EXPECT_EQ(tree.GetNextSiblingItem(tree.GetRootItem()), nullptr);
    EXPECT_EQ(tree.DriveItems().size(), fixed.size());
}

TEST_F(DriveTreeViewTest, DriveWithoutLabelIsABlankAndItsLetter)
{
    FillThree();
    EXPECT_EQ(tree.GetItemText(Drive(0)), "System (C:)");
    EXPECT_EQ(tree.GetItemText(Drive(1)), " (D:)");
    EXPECT_EQ(CDriveTreeView::DriveLetter(" (D:)"), 'D');
    EXPECT_EQ(CDriveTreeView::DriveLetter("D:"), '\0');
}

TEST_F(DriveTreeViewTest, StoredListTicksDrivesAndSetsTheRoot)
{
    struct Case {
        const char* stored;
        std::vector<int> states;
        const char* collected;
    };
    const std::string longTail = std::string(10000, 'x') + ";E:\\;";
    const Case cases[] = {
        {"", {U, U, U, U}, ""},
        {"C:\\;D:\\;E:\\;", {T, T, T, T}, "C:\\;D:\\;E:\\;"},
        {"E:\\;C:\\;", {M, T, U, T}, "C:\\;E:\\;"},
        {"D:\\;", {M, U, T, U}, "D:\\;"},
        {"X:\\;Q:\\;", {U, U, U, U}, ""},
        {"X:\\;D:\\;", {M, U, T, U}, "D:\\;"},
        {"c:\\;d:\\;", {U, U, U, U}, ""},
        {"C:\\;E:\\", {M, T, U, U}, "C:\\;"},
        {";;C;", {U, U, U, U}, ""},
        {"C:\\;C:\\;", {M, T, U, U}, "C:\\;"},
        {longTail.c_str(), {M, U, U, T}, "E:\\;"},
    };
    for (const Case& c : cases) {
        FillThree();
        tree.ApplyScanDrives(c.stored);
        EXPECT_EQ(States(), c.states) << c.stored;
        EXPECT_EQ(tree.CollectScanDrives(), c.collected) << c.stored;
    }
}

TEST_F(DriveTreeViewTest, ClicksOnTickBoxesCarryTheRootAndTheDrives)
{
    FillThree();
    tree.ApplyScanDrives("C:\\;D:\\;");
    ASSERT_EQ(States(), (std::vector<int>{M, T, T, U}));

    Click(TickBoxOf(tree.RootItem()));
    EXPECT_EQ(States(), (std::vector<int>{U, U, U, U})) << "a mixed root unticks everything";
    EXPECT_EQ(tree.CollectScanDrives(), "") << "even though the stored list named drives";
    EXPECT_EQ(tree.GetSelectedItem(), tree.RootItem());

    Click(TickBoxOf(tree.RootItem()));
    EXPECT_EQ(States(), (std::vector<int>{T, T, T, T}));

    Click(TickBoxOf(Drive(1)));
    EXPECT_EQ(States(), (std::vector<int>{M, T, U, T}));
    EXPECT_EQ(tree.GetSelectedItem(), Drive(1));
    Click(TickBoxOf(Drive(0)));
    Click(TickBoxOf(Drive(2)));
    EXPECT_EQ(States(), (std::vector<int>{U, U, U, U}));
    Click(TickBoxOf(Drive(2)));
    EXPECT_EQ(States(), (std::vector<int>{M, U, U, T}));
    EXPECT_EQ(tree.CollectScanDrives(), "E:\\;");

    // Clicking a drive's name selects it without changing a tick.
    const RECT text = TextRectOf(Drive(0));
    POINT name{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    ClientToScreen(tree.GetSafeHwnd(), &name);
    Click(name);
    EXPECT_EQ(States(), (std::vector<int>{M, U, U, T}));
    MoveMouseTo({0, 0});
}

TEST_F(DriveTreeViewTest, DoubleClickNeitherCollapsesTheRootNorChangesTicks)
{
    FillThree();
    const RECT text = TextRectOf(tree.RootItem());
    POINT name{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    ClientToScreen(tree.GetSafeHwnd(), &name);
    Click(name, true);
    EXPECT_TRUE(tree.SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(tree.RootItem()), TVIS_EXPANDED) &
                TVIS_EXPANDED);
    EXPECT_EQ(States(), (std::vector<int>{U, U, U, U}));
    MoveMouseTo({0, 0});
}

TEST_F(DriveTreeViewTest, SpaceDoesWhatAClickOnTheTickBoxDoes)
{
    FillThree();
    PressSpaceOn(Drive(1));
    EXPECT_EQ(States(), (std::vector<int>{M, U, T, U}));
    PressSpaceOn(tree.RootItem());
    EXPECT_EQ(States(), (std::vector<int>{U, U, U, U}));
    EXPECT_EQ(tree.GetSelectedItem(), tree.RootItem()) << "a blank does not search for \" (D:)\"";
    PressSpaceOn(tree.RootItem());
    EXPECT_EQ(States(), (std::vector<int>{T, T, T, T}));
    PressSpaceOn(Drive(0));
    PressSpaceOn(Drive(0));
    EXPECT_EQ(States(), (std::vector<int>{T, T, T, T}));
    EXPECT_EQ(tree.CollectScanDrives(), "C:\\;D:\\;E:\\;");
}

TEST_F(DriveTreeViewTest, OneFixedDriveTickedTicksTheRoot)
{
    tree.FillDrives({{'C', ""}});
    Click(TickBoxOf(Drive(0)));
    EXPECT_EQ(States(), (std::vector<int>{T, T}));
    EXPECT_EQ(tree.CollectScanDrives(), "C:\\;");
    MoveMouseTo({0, 0});
}

TEST_F(DriveTreeViewTest, WithoutDrivesNothingIsCollectedWhateverTheRootShows)
{
    tree.FillDrives({});
    tree.ApplyScanDrives("C:\\;");
    EXPECT_EQ(States(), (std::vector<int>{U}));
    PressSpaceOn(tree.RootItem());
    EXPECT_EQ(tree.CollectScanDrives(), "");
}
TEST_F(DriveTreeViewTest, TickImagesAreThoseOfBitmap156)
{
    FillThree();
    const auto states = reinterpret_cast<HIMAGELIST>(tree.SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
    const Pixels strip(IDB_DRIVE_STATES);
    ASSERT_TRUE(strip.Valid());
    // Each image drawn on a background the bitmap does not use shows the bitmap's pixels, red as the background.
    const COLORREF background = RGB(1, 2, 3);
    HDC screen = GetDC(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen));
    UniqueBitmap canvas(CreateCompatibleBitmap(screen, 16, 16));
    ReleaseDC(nullptr, screen);
    SelectedObject selected(dc.get(), canvas.get());
    int differing = 0;
    for (int image = 1; image < 4; ++image) {
        const RECT all{0, 0, 16, 16};
        UniqueBrush fill(CreateSolidBrush(background));
        FillRect(dc.get(), &all, fill.get());
        ImageList_Draw(states, image, dc.get(), 0, 0, ILD_NORMAL);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const COLORREF source = strip.At(image * 16 + x, y);
                const COLORREF expected = source == RGB(255, 0, 0) ? background : source;
                differing += GetPixel(dc.get(), x, y) == expected ? 0 : 1;
            }
        }
    }
    EXPECT_EQ(differing, 0);
}
