// Loads every resource the windows use by its number and checks what the windows rely on: sizes, texts,
// commands, styles and control ids. A missing id fails.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/resources/DialogTemplate.h"

namespace {

HMODULE Module() { return GetModuleHandleA(nullptr); }

struct BitmapSize {
    int id;
    int width;
    int height;
};

// Faces are drawn unscaled, so each must have exactly the size of the place it is drawn into.
const BitmapSize kBitmaps[] = {
    {IDB_MAIN_BACKGROUND, 625, 415}, {IDB_POPUP_BACKGROUND, 290, 321}, {IDB_DRIVE_STATES, 64, 16},
    {IDB_BUSY, 26, 28}, {IDB_BUSY_FRAME1, 26, 28}, {IDB_BUSY_FRAME2, 26, 28}, {IDB_BUSY_FRAME3, 26, 28},
    {IDB_BUSY_FRAME4, 26, 28}, {IDB_BUSY_FRAME5, 26, 28}, {IDB_BUSY_FRAME6, 26, 28},
    {IDB_START_NORMAL, 141, 41}, {IDB_START_PRESSED, 141, 41}, {IDB_START_HOVER, 141, 41},
    {IDB_START_DISABLED, 141, 41},
    {IDB_STOP_NORMAL, 144, 41}, {IDB_STOP_PRESSED, 144, 41}, {IDB_STOP_HOVER, 144, 41},
    {IDB_STOP_DISABLED, 144, 41},
    {IDB_REPAIR_NORMAL, 153, 41}, {IDB_REPAIR_PRESSED, 153, 41}, {IDB_REPAIR_HOVER, 153, 41},
    {IDB_REPAIR_DISABLED, 153, 41},
    {IDB_SELECT_ALL_NORMAL, 139, 28}, {IDB_SELECT_ALL_PRESSED, 139, 28}, {IDB_SELECT_ALL_HOVER, 139, 28},
    {IDB_SELECT_ALL_DISABLED, 139, 28},
    {IDB_REPAIR_SELECTED_NORMAL, 139, 28}, {IDB_REPAIR_SELECTED_PRESSED, 139, 28},
    {IDB_REPAIR_SELECTED_HOVER, 139, 28}, {IDB_REPAIR_SELECTED_DISABLED, 139, 28},
    {IDB_REPAIR_SMALL_NORMAL, 122, 28}, {IDB_REPAIR_SMALL_PRESSED, 122, 28}, {IDB_REPAIR_SMALL_HOVER, 122, 28},
    {IDB_REPAIR_SMALL_DISABLED, 122, 28},
};

TEST(ResourcesTest, EveryBitmapLoadsWithItsSize)
{
    for (const BitmapSize& expected : kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        HBITMAP bitmap = LoadBitmapA(Module(), MAKEINTRESOURCEA(expected.id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
        EXPECT_EQ(info.bmWidth, expected.width);
        EXPECT_EQ(info.bmHeight, expected.height);
        DeleteObject(bitmap);
    }
}

TEST(ResourcesTest, DriveStatesMakeFourMaskedImagesWithBoxesInOneToThree)
{
    HIMAGELIST images = ImageList_LoadImageA(Module(), MAKEINTRESOURCEA(IDB_DRIVE_STATES), 16, 1,
                                             RGB(255, 0, 0), IMAGE_BITMAP, LR_CREATEDIBSECTION);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 4);
    ImageList_Destroy(images);

    // Image 0 is never shown and stays all transparent; 1 to 3 each draw a box, whose corners stay
    // transparent so the tree's background shows there.
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(Module(), MAKEINTRESOURCEA(IDB_DRIVE_STATES), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto isRed = [&](int x, int y) { return GetPixel(dc, x, y) == RGB(255, 0, 0); };
    for (int x = 0; x < 16; ++x) {
        for (int y = 0; y < 16; ++y) {
            EXPECT_TRUE(isRed(x, y)) << x << "," << y;
        }
    }
    for (int image = 1; image <= 3; ++image) {
        SCOPED_TRACE("image " + std::to_string(image));
        EXPECT_TRUE(isRed(image * 16, 0));
        EXPECT_FALSE(isRed(image * 16 + 8, 8));
        EXPECT_FALSE(isRed(image * 16 + 2, 8));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST(ResourcesTest, EveryIconLoadsAtSmallAndLargeSize)
{
    const int icons[] = {IDI_MAIN, IDI_TRAY, IDI_PAGE_GENERAL, IDI_PAGE_ADVANCED, IDI_PAGE_AUTOUPDATE,
                         IDI_PAGE_IGNORE, IDI_PAGE_ABOUT};
    for (int id : icons) {
        for (int size : {16, 32}) {
            SCOPED_TRACE("icon " + std::to_string(id) + " at " + std::to_string(size));
            HICON icon = static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour{};
            GetObjectA(info.hbmColor, sizeof(colour), &colour);
            // The icon must hold an image of that size, not a scaled copy of another one.
            EXPECT_EQ(colour.bmWidth, size);
            EXPECT_EQ(colour.bmHeight, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(ResourcesTest, TrayMenuOffersShowSeparatorAndExitInItsFirstPopUp)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(ID_TRAY_SHOW));
    EXPECT_EQ(MenuText(popup, 0), "Show Corvadin");
    EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(popup, 2), static_cast<UINT>(ID_TRAY_EXIT));
    EXPECT_EQ(MenuText(popup, 2), "Exit");
    DestroyMenu(menu);
}

TEST(ResourcesTest, MainMenuCarriesTheStartupToggleHelpAndSettings)
{
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    char text[128] = {};
    ASSERT_GT(GetMenuStringA(menu, ID_LAUNCH_AT_STARTUP, text, sizeof(text), MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "Launch at system startup");
    ASSERT_GT(GetMenuStringA(menu, ID_MENU_HELP, text, sizeof(text), MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "Help");
    // The settings dialog has no other way in.
    EXPECT_GT(GetMenuStringA(menu, ID_OPEN_SETTINGS, text, sizeof(text), MF_BYCOMMAND), 0);
    // The toggle is a plain item that the window checks and unchecks.
    EXPECT_EQ(GetMenuState(menu, ID_LAUNCH_AT_STARTUP, MF_BYCOMMAND) & (MF_CHECKED | MF_POPUP), 0u);
    DestroyMenu(menu);
}

TEST(ResourcesTest, ResultsAcceleratorsMapEachKeyToItsCommand)
{
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_RESULTS_ACCEL));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    const int count = CopyAcceleratorTableA(table, entries, 16);
    struct Key {
        WORD key;
        BYTE modifiers;
        WORD command;
    };
    const Key expected[] = {
        {VK_SPACE, 0, ID_LIST_TOGGLE_TICK}, {'A', FCONTROL, ID_LIST_TICK_ALL},
        {VK_DELETE, FCONTROL, ID_LIST_REPAIR}, {'X', FCONTROL, ID_LIST_CLOSE},
        {VK_RETURN, FCONTROL, ID_LIST_START_SCAN}, {VK_ESCAPE, 0, ID_LIST_STOP_SCAN},
        {'D', FCONTROL, ID_LIST_NOTHING}, {VK_F1, 0, ID_LIST_HELP},
    };
    ASSERT_EQ(count, static_cast<int>(std::size(expected)));
    for (const Key& key : expected) {
        SCOPED_TRACE("command " + std::to_string(key.command));
        bool found = false;
        for (int i = 0; i < count; ++i) {
            const BYTE modifiers = entries[i].fVirt & (FCONTROL | FSHIFT | FALT);
            if (entries[i].cmd == key.command) {
                found = true;
                EXPECT_EQ(entries[i].key, key.key);
                EXPECT_TRUE(entries[i].fVirt & FVIRTKEY);
                EXPECT_EQ(modifiers, key.modifiers);
            }
        }
        EXPECT_TRUE(found);
    }
    DestroyAcceleratorTable(table);
}

TEST(ResourcesTest, StringsHoldTheirTexts)
{
    const std::pair<int, const char*> strings[] = {
        {IDS_TRAY_TIP, "Corvadin"}, {IDS_MAKER, "Quenmark"}, {IDS_PRODUCT, "Corvadin"}, {IDS_VERSION, "3.3.0"},
        {IDS_SITE_ADDRESS, "Help"}, {IDS_HELP_GENERAL, "/help/option_general.html"},
        {IDS_HELP_LOG, "/help/option_log.html"}, {IDS_HELP_UPDATE, "/help/option_update.html"},
        {IDS_HELP_CONTEXT, "/help/context.html"},
        {IDS_LEGAL_NOTICE, "Copyright \xA9 Quenmark. All rights reserved."},
    };
    for (const auto& [id, text] : strings) {
        char buffer[256] = {};
        EXPECT_GT(LoadStringA(Module(), id, buffer, sizeof(buffer)), 0) << id;
        EXPECT_STREQ(buffer, text) << id;
    }
}

// ---- Dialog templates ----------------------------------------------------------------------------------------

DialogTemplate Load(int id)
{
    auto dialog = LoadDialogTemplate(Module(), id);
    if (!dialog) {
        ADD_FAILURE() << "dialog template " << id << " is missing or malformed";
        return {};
    }
    return *dialog;
}

struct ExpectedControl {
    DWORD id;
    const char* className;
    const char* text;  // nullptr: not checked
};

void ExpectControls(const DialogTemplate& dialog, const std::vector<ExpectedControl>& expected)
{
    for (const ExpectedControl& e : expected) {
        SCOPED_TRACE("control " + std::to_string(e.id));
        const auto control = dialog.Control(e.id);
        ASSERT_TRUE(control.has_value()) << "missing or duplicated";
        EXPECT_STRCASEEQ(control->className.c_str(), e.className);
        if (e.text) {
            EXPECT_EQ(control->text, e.text);
        }
    }
}

// The labels and counters that the main window and the pop-up share, by id.
const std::vector<ExpectedControl> kCounterControls = {
    {IDC_ERRORS_FOUND, "Static", "Errors found"}, {IDC_TOTAL_COUNT, "Static", "0"},
    {IDC_LABEL_APP_PATH, "Static", "App Path:                    0"},
    {IDC_LABEL_UNINSTALL, "Static", "Uninstall:        "}, {IDC_LABEL_HELP_FILES, "Static", "Help Files:"},
    {IDC_LABEL_FILE_EXTENSIONS, "Static", "File Extensions:"},
    {IDC_LABEL_EXTENSION_REF, "Static", "Extension Ref:"}, {IDC_LABEL_FONT_FILES, "Static", "Font Files:"},
    {IDC_LABEL_RECENTLY_USED, "Static", "Recently Used:"}, {IDC_LABEL_SHARED_DLL, "Static", "Shared DLL:"},
    {IDC_LABEL_SHARED_FOLDERS, "Static", "Shared Folders:"},
    {IDC_LABEL_STARTUP_PROGRAM, "Static", "Startup Program:"}, {IDC_LABEL_COM, "Static", "COM/ActiveX:"},
    {IDC_LABEL_BHO, "Static", "BHO:"}, {IDC_LABEL_SHORTCUTS, "Static", "Shortcuts:"},
    {IDC_COUNT_APP_PATH, "Static", "0"}, {IDC_COUNT_UNINSTALL, "Static", "0"},
    {IDC_COUNT_HELP_FILES, "Static", "0"}, {IDC_COUNT_FILE_EXTENSIONS, "Static", "0"},
    {IDC_COUNT_EXTENSION_REF, "Static", "0"}, {IDC_COUNT_FONT_FILES, "Static", "0"},
    {IDC_COUNT_RECENTLY_USED, "Static", "0"}, {IDC_COUNT_SHARED_DLL, "Static", "0"},
    {IDC_COUNT_SHARED_FOLDERS, "Static", "0"}, {IDC_COUNT_STARTUP_PROGRAM, "Static", "0"},
    {IDC_COUNT_COM, "Static", "0"}, {IDC_COUNT_BHO, "Static", "0"}, {IDC_COUNT_SHORTCUTS, "Static", "0"},
    {IDC_REPAIR_LOWER, "Button", ""},
};

// Category labels top to bottom, each with its counter on the same row.
const std::pair<DWORD, DWORD> kCategoryRows[] = {
    {IDC_LABEL_APP_PATH, IDC_COUNT_APP_PATH}, {IDC_LABEL_UNINSTALL, IDC_COUNT_UNINSTALL},
    {IDC_LABEL_HELP_FILES, IDC_COUNT_HELP_FILES}, {IDC_LABEL_FILE_EXTENSIONS, IDC_COUNT_FILE_EXTENSIONS},
    {IDC_LABEL_EXTENSION_REF, IDC_COUNT_EXTENSION_REF}, {IDC_LABEL_FONT_FILES, IDC_COUNT_FONT_FILES},
    {IDC_LABEL_RECENTLY_USED, IDC_COUNT_RECENTLY_USED}, {IDC_LABEL_SHARED_DLL, IDC_COUNT_SHARED_DLL},
    {IDC_LABEL_SHARED_FOLDERS, IDC_COUNT_SHARED_FOLDERS}, {IDC_LABEL_STARTUP_PROGRAM, IDC_COUNT_STARTUP_PROGRAM},
    {IDC_LABEL_COM, IDC_COUNT_COM}, {IDC_LABEL_BHO, IDC_COUNT_BHO}, {IDC_LABEL_SHORTCUTS, IDC_COUNT_SHORTCUTS},
};

void ExpectCategoryRows(const DialogTemplate& dialog)
{
    int previousTop = -1;
    for (const auto& [labelId, counterId] : kCategoryRows) {
        SCOPED_TRACE("row of label " + std::to_string(labelId));
        const auto label = dialog.Control(labelId);
        const auto counter = dialog.Control(counterId);
        ASSERT_TRUE(label && counter);
        EXPECT_GT(label->box.top, previousTop) << "rows must run top to bottom in scanner order";
        EXPECT_EQ(label->box.top, counter->box.top);
        EXPECT_LE(label->box.right, counter->box.left) << "counter right of its label";
        // One text line high, so the spaces and 0 that follow "App Path:" wrap out of sight.
        EXPECT_LT(label->box.bottom - label->box.top, 16);
        previousTop = label->box.top;
    }
}

void ExpectInside(const DialogTemplate& dialog, LONG width, LONG height)
{
    for (const TemplateControl& control : dialog.controls) {
        SCOPED_TRACE("control " + std::to_string(control.id));
        EXPECT_GE(control.box.left, 0);
        EXPECT_GE(control.box.top, 0);
        EXPECT_LE(control.box.right, width);
        EXPECT_LE(control.box.bottom, height);
    }
}

TEST(DialogTemplateTest, MainWindowHasEveryControlOnItsSkin)
{
    const DialogTemplate dialog = Load(IDD_MAIN);
    EXPECT_EQ(dialog.caption, "Corvadin");
    EXPECT_EQ(dialog.menu, IDR_MAIN_MENU);
    EXPECT_TRUE(dialog.exStyle & WS_EX_APPWINDOW) << "shown in the taskbar";
    EXPECT_TRUE(dialog.style & WS_MINIMIZEBOX);
    EXPECT_TRUE(dialog.style & WS_SYSMENU) << "the close box hides it to the tray";
    // 625x415 pixels of skin at 6x13 base units; a pixel row less is fine, more would tile the skin.
    EXPECT_EQ(dialog.size.cx, 417);
    EXPECT_EQ(dialog.size.cy, 255);

    ExpectControls(dialog, kCounterControls);
    ExpectControls(dialog, {
        {IDC_START_SCAN, "Button", ""}, {IDC_STOP_SCAN, "Button", ""}, {IDC_REPAIR_ERRORS, "Button", ""},
        {IDC_SELECT_ALL, "Button", ""}, {IDC_REPAIR_SELECTED, "Button", ""}, {IDC_BUSY, "Button", ""},
        {IDC_STATUS, "Static", "Idle"}, {IDC_CURRENT_ITEM, "Static", ""},
        {IDC_PROGRESS, PROGRESS_CLASSA, nullptr},
        {IDC_PROGRESS_LABEL, "Static", "Current operation progress:"},
        {IDC_RESULTS_PLACEHOLDER, "Static", nullptr},
    });
    EXPECT_FALSE(dialog.Control(IDC_RESULTS_PLACEHOLDER)->style & WS_VISIBLE);
    // Paths often hold '&'; a static would otherwise turn it into an underline.
    EXPECT_TRUE(dialog.Control(IDC_CURRENT_ITEM)->style & SS_NOPREFIX);
    ExpectCategoryRows(dialog);
    ExpectInside(dialog, dialog.size.cx, dialog.size.cy);
}

TEST(DialogTemplateTest, MainWindowButtonsSitAtTheirPixelPlacesInDialogUnits)
{
    const DialogTemplate dialog = Load(IDD_MAIN);
    struct Place {
        DWORD id;
        int left, top, width, height;  // pixels
    };
    const Place places[] = {
        {IDC_START_SCAN, 0, 20, 141, 41}, {IDC_STOP_SCAN, 142, 20, 144, 41},
        {IDC_REPAIR_ERRORS, 287, 20, 153, 41}, {IDC_SELECT_ALL, 311, 372, 139, 28},
        {IDC_REPAIR_SELECTED, 467, 372, 139, 28}, {IDC_REPAIR_LOWER, 31, 357, 124, 28},
        {IDC_BUSY, 588, 28, 26, 28},  // the busy faces are drawn onto the header there
    };
    for (const Place& place : places) {
        SCOPED_TRACE("button " + std::to_string(place.id));
        const auto button = dialog.Control(place.id);
        ASSERT_TRUE(button);
        // At 6x13 base units one DU is 1.5 by 1.625 pixels; within a DU of the place the window moves it to.
        EXPECT_NEAR(button->box.left * 1.5, place.left, 1.5);
        EXPECT_NEAR(button->box.top * 1.625, place.top, 1.7);
        EXPECT_GE((button->box.right - button->box.left) * 1.5 + 1.5, place.width);
        EXPECT_GE((button->box.bottom - button->box.top) * 1.625 + 1.7, place.height);
    }
    // The results list ends above the skin's footer line (y 366) and the lower buttons.
    const auto list = dialog.Control(IDC_RESULTS_PLACEHOLDER);
    EXPECT_LT(list->box.bottom * 1.625, 366);
}

TEST(DialogTemplateTest, PopUpIsAHiddenTopmostToolWindowWithCountersAndRepair)
{
    const DialogTemplate dialog = Load(IDD_POPUP);
    EXPECT_EQ(dialog.caption, "  Corvadin");
    EXPECT_EQ(dialog.size.cx, 203);
    EXPECT_EQ(dialog.size.cy, 195);
    EXPECT_TRUE(dialog.exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(dialog.exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(dialog.style & WS_SYSMENU) << "close box";
    EXPECT_FALSE(dialog.style & WS_VISIBLE);
    ExpectControls(dialog, kCounterControls);
    ExpectCategoryRows(dialog);
    // The window is cut to 290x321 client pixels. The texts must fit even at 7 pixels per 4 DU (the widest
    // base unit seen), 165 DU across, and 197 DU down at 13 pixels per 8 DU.
    const auto repair = dialog.Control(IDC_REPAIR_LOWER);
    ASSERT_TRUE(repair);
    for (const TemplateControl& control : dialog.controls) {
        if (control.id != IDC_REPAIR_LOWER) {
            EXPECT_LE(control.box.right, 165) << control.id;
        }
        EXPECT_LE(control.box.bottom, 197) << control.id;
    }
    // The Repair face (122x28) is drawn at the button's top-left corner: the button must be at least that
    // large at 6 pixels per 4 DU across and at 12 pixels per 8 DU down (the shortest dialog font seen, a
    // substitute for the usual 13), and the face must stay inside the window at 7 pixels per 4 DU too.
    EXPECT_GE((repair->box.right - repair->box.left) * 6 / 4, 122);
    EXPECT_GE((repair->box.bottom - repair->box.top) * 12 / 8, 28);
    EXPECT_LE(repair->box.left * 7 / 4 + 122, 290);
    EXPECT_NEAR(repair->box.left * 1.5 + 61, 145, 3) << "centred at 6x13 base units";
}

TEST(DialogTemplateTest, HiddenOwnerIsAnInvisibleCaptionedPopUpWithoutControls)
{
    const DialogTemplate dialog = Load(IDD_HIDDEN);
    EXPECT_EQ(dialog.caption, "zintavodlg");
    EXPECT_EQ(dialog.size.cx, 9);
    EXPECT_EQ(dialog.size.cy, 9);
    EXPECT_EQ(dialog.style & (WS_POPUP | WS_CAPTION | WS_VISIBLE), static_cast<DWORD>(WS_POPUP | WS_CAPTION));
    EXPECT_TRUE(dialog.controls.empty());
}

TEST(DialogTemplateTest, SettingsDialogHasPageListTitleAndButtons)
{
    const DialogTemplate dialog = Load(IDD_SETTINGS);
    EXPECT_EQ(dialog.size.cx, 259);
    EXPECT_EQ(dialog.size.cy, 391);
    EXPECT_TRUE(dialog.exStyle & WS_EX_CONTEXTHELP) << "caption-bar help button";
    ExpectControls(dialog, {{IDC_PAGE_LIST, WC_LISTVIEWA, nullptr}, {IDC_PAGE_TITLE, "Static", nullptr},
                            {IDOK, "Button", "OK"}, {IDCANCEL, "Button", "Cancel"}});
    const DWORD list = dialog.Control(IDC_PAGE_LIST)->style;
    EXPECT_EQ(list & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
    for (DWORD bit : std::initializer_list<DWORD>{LVS_SINGLESEL, LVS_SHOWSELALWAYS, LVS_NOSCROLL,
                                                  LVS_NOCOLUMNHEADER}) {
        EXPECT_TRUE(list & bit) << std::hex << bit;
    }
    bool separator = false;
    for (const TemplateControl& control : dialog.controls) {
        separator |= control.className == "Static" && (control.style & SS_TYPEMASK) == SS_ETCHEDHORZ;
    }
    EXPECT_TRUE(separator);

    // A page (186x332 DU at most) goes to pixel (99, 54): right of the list and below the title, above the buttons.
    const int pageRight = 99 + 186 * 6 / 4, pageBottom = 54 + 332 * 13 / 8;
    EXPECT_LT(dialog.Control(IDC_PAGE_LIST)->box.right * 1.5, 99);
    EXPECT_LT(dialog.Control(IDC_PAGE_TITLE)->box.bottom * 1.625, 54);
    EXPECT_LE(pageRight, dialog.size.cx * 6 / 4);
    EXPECT_LT(pageBottom, dialog.Control(IDOK)->box.top * 1.625);
    ExpectInside(dialog, dialog.size.cx, dialog.size.cy);
}

void ExpectPage(const DialogTemplate& dialog, LONG height)
{
    EXPECT_EQ(dialog.size.cx, 186);
    EXPECT_EQ(dialog.size.cy, height);
    EXPECT_TRUE(dialog.style & WS_CHILD);
    EXPECT_FALSE(dialog.style & WS_VISIBLE);
    EXPECT_TRUE(dialog.exStyle & WS_EX_CONTROLPARENT) << "Tab moves into the page";
    ExpectInside(dialog, dialog.size.cx, dialog.size.cy);
}

TEST(DialogTemplateTest, GeneralPageControls)
{
    const DialogTemplate dialog = Load(IDD_GENERAL_TAB);
    ExpectPage(dialog, 332);
    ExpectControls(dialog, {
        {IDC_GENERAL_SCAN_DRIVES, "Button", "Scan selected &drives:"},
        {IDC_GENERAL_DRIVE_TREE, WC_TREEVIEWA, nullptr},
        {IDC_GENERAL_SCAN_REGISTRY, "Button", "Scan Windows &Registry."},
        {IDC_GENERAL_KEEP_DELETED, "Button", "Keep a copy of files, to be deleted."},
        {IDC_GENERAL_DELETED_PATH, "Edit", ""}, {IDC_GENERAL_BROWSE, "Button", "..."},
    });
    const DWORD tree = dialog.Control(IDC_GENERAL_DRIVE_TREE)->style;
    for (DWORD bit : std::initializer_list<DWORD>{TVS_HASLINES, TVS_HASBUTTONS, TVS_CHECKBOXES, TVS_INFOTIP, WS_BORDER,
                      WS_TABSTOP}) {
        EXPECT_TRUE(tree & bit) << std::hex << bit;
    }
    EXPECT_TRUE(dialog.Control(IDC_GENERAL_DELETED_PATH)->style & ES_AUTOHSCROLL);
    for (DWORD id : {IDC_GENERAL_SCAN_DRIVES, IDC_GENERAL_SCAN_REGISTRY, IDC_GENERAL_KEEP_DELETED}) {
        EXPECT_EQ(dialog.Control(id)->style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTOCHECKBOX)) << id;
    }
}

TEST(DialogTemplateTest, AdvancedPageControls)
{
    const DialogTemplate dialog = Load(IDD_LOGFILE_TAB);
    ExpectPage(dialog, 174);
    ExpectControls(dialog, {
        {IDC_LOG_KEEP_HISTORY, "Button", "Keep &history of all program operations."},
        {IDC_LOG_PATH, "Edit", ""}, {IDC_LOG_BROWSE, "Button", "..."},
        {IDC_LOG_BEEP, "Button", "Play &beep at the end of long operation."},
        {IDC_LOG_MESSAGE, "Button", "Alert a &message at the end of long operation."},
        {IDC_LOG_SCHEDULE_REBOOT, "Button", "Schedule Corvadin start on reboot"},
    });
    // A folder path is usually longer than the box; without scrolling the user could not type it.
    EXPECT_TRUE(dialog.Control(IDC_LOG_PATH)->style & ES_AUTOHSCROLL);
}

TEST(DialogTemplateTest, AutoUpdatePageControlsAndIntervalEntries)
{
    const DialogTemplate dialog = Load(IDD_AUTOUPDATE_TAB);
    ExpectPage(dialog, 174);
    ExpectControls(dialog, {
        {IDC_UPDATE_MANUALLY, "Button", "&Manually check for updates."},
        {IDC_UPDATE_AUTOMATICALLY, "Button", "&Automatically check for updates:"},
        {IDC_UPDATE_INTERVAL, "ComboBox", ""},
        {IDC_UPDATE_CONFIRM, "Button", "&Require a confirmation before apply updates."},
    });
    EXPECT_TRUE(dialog.Control(IDC_UPDATE_MANUALLY)->style & WS_GROUP);
    EXPECT_FALSE(dialog.Control(IDC_UPDATE_AUTOMATICALLY)->style & WS_GROUP) << "same radio group";
    EXPECT_EQ(dialog.Control(IDC_UPDATE_INTERVAL)->style & 3, static_cast<DWORD>(CBS_DROPDOWNLIST));

    HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(IDD_AUTOUPDATE_TAB),
                                   MAKEINTRESOURCEA(CORVADIN_RT_DLGINIT));
    ASSERT_NE(resource, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(Module(), resource)));
    const DWORD size = SizeofResource(Module(), resource);
    std::vector<std::string> entries;
    DWORD pos = 0;
    while (pos + 2 <= size) {
        WORD control = 0, message = 0;
        DWORD length = 0;
        std::memcpy(&control, data + pos, 2);
        if (control == 0) {
            break;
        }
        ASSERT_LE(pos + 8, size);
        std::memcpy(&message, data + pos + 2, 2);
        std::memcpy(&length, data + pos + 4, 4);
        ASSERT_LE(pos + 8 + length, size);
        EXPECT_EQ(control, IDC_UPDATE_INTERVAL);
        EXPECT_EQ(message, CB_ADDSTRING);
        ASSERT_GT(length, 0u);
        EXPECT_EQ(data[pos + 8 + length - 1], 0) << "text ends with its zero";
        entries.emplace_back(reinterpret_cast<const char*>(data + pos + 8));
        pos += 8 + length;
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"Every program start", "Daily", "Weekly", "Monthly"}));
}

TEST(DialogTemplateTest, AboutPageNamesMakerProductAndVersion)
{
    const DialogTemplate dialog = Load(IDD_ABOUT_TAB);
    ExpectPage(dialog, 153);
    EXPECT_TRUE(dialog.style & WS_DISABLED);
    ExpectControls(dialog, {{IDC_ABOUT_TITLE, "Static", "Quenmark\xAE Corvadin v3.3.0"}});
    for (const TemplateControl& control : dialog.controls) {
        EXPECT_TRUE(control.className == "Static") << "nothing on the About page takes input";
    }
}

}  // namespace
