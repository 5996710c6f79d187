#include "framework/Resources.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

TEST(ResourcesTest, EveryBitmapOfTheSkinsLoadsWithItsSize)
{
    struct Expected {
        UINT id;
        LONG width;
        LONG height;
    };
    const Expected bitmaps[] = {
        {IDB_MAIN_BACKGROUND, 625, 415}, {IDB_POPUP_BACKGROUND, 290, 321}, {IDB_BUSY, 26, 28},
        {IDB_BUSY_FRAME1, 26, 28}, {IDB_BUSY_FRAME2, 26, 28}, {IDB_BUSY_FRAME3, 26, 28}, {IDB_BUSY_FRAME4, 26, 28},
        {IDB_BUSY_FRAME5, 26, 28}, {IDB_BUSY_FRAME6, 26, 28}, {IDB_REPAIR_SMALL_NORMAL, 122, 28},
        {IDB_REPAIR_SMALL_PRESSED, 122, 28}, {IDB_REPAIR_SMALL_HOVER, 122, 28}, {IDB_REPAIR_SMALL_DISABLED, 122, 28},
    };
    for (const Expected& expected : bitmaps) {
        const UniqueBitmap bitmap = LoadBitmapResource(expected.id);
        ASSERT_TRUE(bitmap) << "bitmap " << expected.id;
        const SIZE size = BitmapSize(bitmap.get());
        EXPECT_EQ(size.cx, expected.width) << "bitmap " << expected.id;
        EXPECT_EQ(size.cy, expected.height) << "bitmap " << expected.id;
    }
    for (UINT id : {IDB_START_NORMAL, IDB_START_PRESSED, IDB_START_HOVER, IDB_START_DISABLED, IDB_STOP_NORMAL,
                    IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_DISABLED, IDB_REPAIR_NORMAL, IDB_REPAIR_PRESSED,
                    IDB_REPAIR_HOVER, IDB_REPAIR_DISABLED, IDB_SELECT_ALL_NORMAL, IDB_SELECT_ALL_PRESSED,
                    IDB_SELECT_ALL_HOVER, IDB_SELECT_ALL_DISABLED, IDB_REPAIR_SELECTED_NORMAL,
                    IDB_REPAIR_SELECTED_PRESSED, IDB_REPAIR_SELECTED_HOVER, IDB_REPAIR_SELECTED_DISABLED}) {
        EXPECT_TRUE(LoadBitmapResource(id)) << "bitmap " << id;
    }
}

TEST(ResourcesTest, ResultsListKeysMapToTheirCommands)
{
    const HACCEL table = LoadAcceleratorResource(IDR_RESULTS_ACCEL);
    ASSERT_NE(table, nullptr);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));

    // key and whether Ctrl is held -> command
    std::map<std::pair<WORD, bool>, WORD> found;
    for (const ACCEL& entry : entries) {
        EXPECT_TRUE(entry.fVirt & FVIRTKEY);
        EXPECT_FALSE(entry.fVirt & (FSHIFT | FALT));
        found[{entry.key, (entry.fVirt & FCONTROL) != 0}] = entry.cmd;
    }
    const std::map<std::pair<WORD, bool>, WORD> expected = {
        {{VK_SPACE, false}, ID_LIST_TOGGLE_TICK}, {{'A', true}, ID_LIST_TICK_ALL},
        {{VK_DELETE, true}, ID_LIST_REPAIR},       {{'X', true}, ID_LIST_CLOSE},
        {{VK_RETURN, true}, ID_LIST_START_SCAN},   {{VK_ESCAPE, false}, ID_LIST_STOP_SCAN},
        {{'D', true}, ID_LIST_NOTHING},            {{VK_F1, false}, ID_LIST_HELP},
    };
    EXPECT_EQ(found, expected);
}

TEST(ResourcesTest, TemplatesMenusIconsAndStringsLoadByIdAndMissingOnesComeBackEmpty)
{
    for (UINT id : {IDD_POPUP, IDD_MAIN, IDD_GENERAL_TAB, IDD_LOGFILE_TAB, IDD_AUTOUPDATE_TAB, IDD_SETTINGS,
                    IDD_ABOUT_TAB, IDD_HIDDEN}) {
        EXPECT_NE(FindResourceA(ResourceInstance(), MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << "dialog " << id;
    }
    EXPECT_TRUE(LoadMenuResource(IDR_MAIN_MENU));
    EXPECT_TRUE(LoadMenuResource(IDR_TRAY_MENU));
    EXPECT_TRUE(LoadIconResource(IDI_MAIN));
    EXPECT_TRUE(LoadIconResource(IDI_MAIN, 16));
    EXPECT_EQ(LoadStringResource(IDS_PRODUCT), "Corvadin");

    EXPECT_FALSE(LoadBitmapResource(4321));
    EXPECT_FALSE(LoadIconResource(4321));
    EXPECT_FALSE(LoadMenuResource(4321));
    EXPECT_EQ(LoadAcceleratorResource(4321), nullptr);
    EXPECT_EQ(LoadStringResource(4321), "");
}
