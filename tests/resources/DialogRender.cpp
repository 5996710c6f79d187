// Shows every dialog template on the screen and saves a picture of each, so people can look at the layouts.
// The main window and the pop-up are also shown with their skin (background, button faces, white labels, a
// results list with sample rows) and the settings dialog with its page list and each page in place, the way
// the program puts them together.
//
//   resources_render.exe <output folder>     writes <name>.bmp per picture
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// ---- Skin preview ---------------------------------------------------------------------------------------------
struct Face {
    int normal;
    RECT place;  // left, top, width, height in pixels; width 0 keeps the template's place
};

const std::map<int, Face> kMainFaces = {
    {IDC_START_SCAN, {IDB_START_NORMAL, {0, 20, 141, 41}}},
    {IDC_STOP_SCAN, {IDB_STOP_DISABLED, {142, 20, 144, 41}}},
    {IDC_REPAIR_ERRORS, {IDB_REPAIR_HOVER, {287, 20, 153, 41}}},
    {IDC_SELECT_ALL, {IDB_SELECT_ALL_NORMAL, {311, 372, 139, 28}}},
    {IDC_REPAIR_SELECTED, {IDB_REPAIR_SELECTED_NORMAL, {467, 372, 139, 28}}},
    {IDC_REPAIR_LOWER, {IDB_REPAIR_SMALL_NORMAL, {31, 357, 124, 28}}},
    {IDC_BUSY, {IDB_BUSY_FRAME2, {0, 0, 0, 0}}},
};
const std::map<int, Face> kPopupFaces = {{IDC_REPAIR_LOWER, {IDB_REPAIR_SMALL_NORMAL, {0, 0, 0, 0}}}};

struct Skin {
    int background;
    const std::map<int, Face>* faces;
    bool results;
};

Skin g_skin{};
HBITMAP g_background = nullptr;
HBRUSH g_white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void AddSampleResults(HWND dialog)
{
    HWND placeholder = GetDlgItem(dialog, IDC_RESULTS_PLACEHOLDER);
    RECT r{};
    GetWindowRect(placeholder, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, dialog, nullptr, Instance(), nullptr);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    const char* headers[] = {"Name", "Description", "Type", "Action"};
    for (int i = 0; i < 4; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.cx = 80;
        column.pszText = const_cast<char*>(headers[i]);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    const char* rows[][3] = {{"OldTool", "C:\\Program Files\\Old Tool\\tool.exe", "Startup program"},
                             {"Old Tool.lnk", "C:\\Program Files\\Old Tool\\tool.exe", "Shortcut"}};
    for (int row = 0; row < 2; ++row) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(rows[row][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int sub = 1; sub < 4; ++sub) {
            item.iSubItem = sub;
            item.pszText = const_cast<char*>(sub < 3 ? rows[row][sub] : "Repair");
            SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        }
        ListView_SetCheckState(list, row, TRUE);
    }
}

INT_PTR CALLBACK SkinProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (const auto& [id, face] : *g_skin.faces) {
            HWND button = GetDlgItem(dialog, id);
            SetWindowLongPtrA(button, GWL_STYLE, (GetWindowLongPtrA(button, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
            if (face.place.right) {
                MoveWindow(button, face.place.left, face.place.top, face.place.right, face.place.bottom, FALSE);
            }
        }
        if (g_skin.results) {
            AddSampleResults(dialog);
            SetDlgItemTextA(dialog, IDC_STATUS, "Scanning");
            SetDlgItemTextA(dialog, IDC_CURRENT_ITEM, "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{6B1E-AF50}");
            SendDlgItemMessageA(dialog, IDC_PROGRESS, PBM_SETPOS, 40, 0);
            SetDlgItemTextA(dialog, IDC_TOTAL_COUNT, "2");
            SetDlgItemTextA(dialog, IDC_COUNT_STARTUP_PROGRAM, "1");
            SetDlgItemTextA(dialog, IDC_COUNT_SHORTCUTS, "1");
        } else {
            SetWindowPos(dialog, nullptr, 0, 0, 296, 345, SWP_NOZORDER | SWP_NOMOVE);
        }
        return TRUE;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client{};
        GetClientRect(dialog, &client);
        BITMAP info{};
        GetObjectA(g_background, sizeof(info), &info);
        for (int y = 0; y < client.bottom; y += info.bmHeight) {
            for (int x = 0; x < client.right; x += info.bmWidth) {
                DrawBitmap(dc, g_background, x, y);
            }
        }
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(g_white);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const auto found = g_skin.faces->find(static_cast<int>(item->CtlID));
        if (found != g_skin.faces->end()) {
            HBITMAP face = LoadBitmapA(Instance(), MAKEINTRESOURCEA(found->second.normal));
            DrawBitmap(item->hDC, face, 0, 0);
            DeleteObject(face);
        }
        return TRUE;
    }
    }
    (void)lParam;
    return FALSE;
}

// ---- Settings preview -----------------------------------------------------------------------------------------
int g_page = IDD_GENERAL_TAB;

INT_PTR CALLBACK PlainProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

INT_PTR CALLBACK SettingsProcedure(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG) {
        return FALSE;
    }
    HWND list = GetDlgItem(dialog, IDC_PAGE_LIST);
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR8 | ILC_MASK, 4, 4);
    const int icons[] = {IDI_PAGE_GENERAL, IDI_PAGE_ADVANCED, IDI_PAGE_AUTOUPDATE, IDI_PAGE_ABOUT};
    const char* names[] = {"General", "Advanced", "Auto-Update", "About"};
    const int pages[] = {IDD_GENERAL_TAB, IDD_LOGFILE_TAB, IDD_AUTOUPDATE_TAB, IDD_ABOUT_TAB};
    for (int icon : icons) {
        ImageList_AddIcon(images, static_cast<HICON>(
            LoadImageA(Instance(), MAKEINTRESOURCEA(icon), IMAGE_ICON, 32, 32, 0)));
    }
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    int current = 0;
    for (int i = 0; i < 4; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.iImage = i;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (pages[i] == g_page) {
            current = i;
        }
    }
    ListView_SetItemState(list, current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetDlgItemTextA(dialog, IDC_PAGE_TITLE, names[current]);
    HWND page = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(g_page), dialog, PlainProcedure, 0);
    SetWindowPos(page, nullptr, 99, 54, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (g_page == IDD_AUTOUPDATE_TAB) {
        for (const char* entry : {"Every program start", "Daily", "Weekly", "Monthly"}) {
            SendDlgItemMessageA(page, IDC_UPDATE_INTERVAL, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        SendDlgItemMessageA(page, IDC_UPDATE_INTERVAL, CB_SETCURSEL, 1, 0);
        CheckDlgButton(page, IDC_UPDATE_AUTOMATICALLY, BST_CHECKED);
    }
    ShowWindow(page, SW_SHOW);
    return TRUE;
}

// ---- Pictures -------------------------------------------------------------------------------------------------
struct Picture {
    const char* name;
    int id;
    DLGPROC procedure;
    Skin skin;
    int page;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const std::string folder = __argc > 1 ? __argv[1] : ".";
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    const Picture pictures[] = {
        {"main", IDD_MAIN, PlainProcedure, {}, 0},
        {"main_skinned", IDD_MAIN, SkinProcedure, {IDB_MAIN_BACKGROUND, &kMainFaces, true}, 0},
        {"popup", IDD_POPUP, PlainProcedure, {}, 0},
        {"popup_skinned", IDD_POPUP, SkinProcedure, {IDB_POPUP_BACKGROUND, &kPopupFaces, false}, 0},
        {"settings", IDD_SETTINGS, PlainProcedure, {}, 0},
        {"settings_general", IDD_SETTINGS, SettingsProcedure, {}, IDD_GENERAL_TAB},
        {"settings_advanced", IDD_SETTINGS, SettingsProcedure, {}, IDD_LOGFILE_TAB},
        {"settings_autoupdate", IDD_SETTINGS, SettingsProcedure, {}, IDD_AUTOUPDATE_TAB},
        {"settings_about", IDD_SETTINGS, SettingsProcedure, {}, IDD_ABOUT_TAB},
        {"hidden", IDD_HIDDEN, PlainProcedure, {}, 0},
    };
    int failures = 0;
    for (const Picture& picture : pictures) {
        g_skin = picture.skin;
        g_page = picture.page;
        if (g_skin.background) {
            g_background = LoadBitmapA(Instance(), MAKEINTRESOURCEA(g_skin.background));
        }
        HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(picture.id), nullptr, picture.procedure, 0);
        if (!dialog) {
            std::fprintf(stderr, "%s: dialog %d could not be created\n", picture.name, picture.id);
            ++failures;
            continue;
        }
        SetWindowPos(dialog, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        UpdateWindow(dialog);
        PumpFor(400);
        const std::string path = folder + "\\" + picture.name + ".bmp";
        RECT rect{};
        GetWindowRect(dialog, &rect);
        if (!SaveScreen(rect, path)) {
            std::fprintf(stderr, "%s: cannot write %s\n", picture.name, path.c_str());
            ++failures;
        }
        DestroyWindow(dialog);
        if (g_background) {
            DeleteObject(g_background);
            g_background = nullptr;
        }
    }
    std::printf("%d pictures written to %s, %d failures\n", static_cast<int>(std::size(pictures)) - failures,
                folder.c_str(), failures);
    return failures ? 1 : 0;
}
