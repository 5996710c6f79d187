// Creates every dialog from its template with the real dialog font and checks that nothing is clipped: each
// control lies inside its dialog and each text fits its control.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/resource.h"
#include "tests/support/WindowTesting.h"

namespace {

INT_PTR CALLBACK PlainProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// Owns a dialog window made from a template; pages get the settings dialog as their parent.
class Dialog {
public:
    explicit Dialog(int id, HWND parent = nullptr)
        : window_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), parent, PlainProcedure, 0))
    {
    }
    ~Dialog()
    {
        if (window_) {
            DestroyWindow(window_);
        }
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

RECT ChildRect(HWND dialog, HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Size of text in the control's font; width limits wrapping when not 0.
SIZE Measure(HWND control, const std::string& text, int width = 0, bool prefix = true)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    UINT format = DT_CALCRECT | (width ? DT_WORDBREAK : DT_SINGLELINE) | (prefix ? 0 : DT_NOPREFIX);
    DrawTextA(dc, text.c_str(), -1, &r, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

std::string TrimRight(std::string text)
{
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// Every child inside the client area, and every caption readable in full. A skinned button (given by id and
// face size) only needs room for its face, which is drawn at its top-left corner.
void ExpectNothingClipped(HWND dialog, int skinnedId = 0, SIZE face = {})
{
    RECT client{};
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const std::string text = WindowText(child);
        SCOPED_TRACE("control " + std::to_string(id) + " \"" + text + "\"");
        RECT r = ChildRect(dialog, child);
        if (id == skinnedId) {
            EXPECT_GE(r.right - r.left, face.cx);
            EXPECT_GE(r.bottom - r.top, face.cy);
            r.right = r.left + face.cx;
            r.bottom = r.top + face.cy;
        }
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);

        if (text.empty() || id == IDC_LABEL_APP_PATH) {
            continue;
        }
        const std::string className = ClassOf(child);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const bool noPrefix = className == "Static" && (style & SS_NOPREFIX);
        if (className == "Button") {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX) {
                EXPECT_LE(Measure(child, text).cx + 16, width);
            } else if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX) {
                EXPECT_LE(Measure(child, text).cx + GetSystemMetrics(SM_CXMENUCHECK) + 4, width);
            } else {
                EXPECT_LE(Measure(child, text).cx + 4, width);
            }
        } else if (className == "Static") {
            const SIZE needed = Measure(child, TrimRight(text), width, !noPrefix);
            EXPECT_LE(needed.cy, height) << "text needs " << needed.cy << " pixels of height";
        }
    }
}

TEST(DialogLayoutTest, MainWindowShowsEveryTextInFull)
{
    Dialog main(IDD_MAIN);
    ASSERT_NE(main.Get(), nullptr);
    ExpectNothingClipped(main.Get());

    // "App Path:" shows; the spaces and the 0 after it wrap onto a line the label does not have.
    HWND appPath = GetDlgItem(main.Get(), IDC_LABEL_APP_PATH);
    RECT r = ChildRect(main.Get(), appPath);
    EXPECT_LE(Measure(appPath, "App Path:").cx, r.right - r.left);
    EXPECT_GT(Measure(appPath, WindowText(appPath), r.right - r.left).cy, r.bottom - r.top);
}

TEST(DialogLayoutTest, PopUpFitsTheWindowSizeItIsGiven)
{
    Dialog popup(IDD_POPUP);
    ASSERT_NE(popup.Get(), nullptr);
    // The notifier always places itself at 296x345 pixels, whatever the template's size.
    SetWindowPos(popup.Get(), nullptr, 0, 0, 296, 345, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    ExpectNothingClipped(popup.Get(), IDC_REPAIR_LOWER, {122, 28});
}

TEST(DialogLayoutTest, SettingsDialogAndPagesShowEveryTextInFull)
{
    Dialog settings(IDD_SETTINGS);
    ASSERT_NE(settings.Get(), nullptr);
    ExpectNothingClipped(settings.Get());

    RECT client{};
    GetClientRect(settings.Get(), &client);
    for (int page : {IDD_GENERAL_TAB, IDD_LOGFILE_TAB, IDD_AUTOUPDATE_TAB, IDD_IGNORE_TAB, IDD_ABOUT_TAB}) {
        SCOPED_TRACE("page " + std::to_string(page));
        Dialog child(page, settings.Get());
        ASSERT_NE(child.Get(), nullptr);
        ExpectNothingClipped(child.Get());
        // Placed at (99, 54) it stays inside the settings dialog and above its buttons.
        RECT r{};
        GetWindowRect(child.Get(), &r);
        EXPECT_LE(99 + (r.right - r.left), client.right);
        RECT ok = ChildRect(settings.Get(), GetDlgItem(settings.Get(), IDOK));
        EXPECT_LT(54 + (r.bottom - r.top), ok.top);
    }
}

TEST(DialogLayoutTest, AboutTitleCarriesTheTrademarkSign)
{
    Dialog settings(IDD_SETTINGS);
    Dialog about(IDD_ABOUT_TAB, settings.Get());
    ASSERT_NE(about.Get(), nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(about.Get(), IDC_ABOUT_TITLE)), "Quenmark\xAE Corvadin v3.3.0");
    EXPECT_FALSE(IsWindowEnabled(about.Get()));
}

TEST(DialogLayoutTest, HiddenOwnerIsFoundByItsCaptionAndStaysInvisible)
{
    Dialog hidden(IDD_HIDDEN);
    ASSERT_NE(hidden.Get(), nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden.Get()));
    EXPECT_EQ(FindWindowA(nullptr, "zintavodlg"), hidden.Get());
}

}  // namespace
