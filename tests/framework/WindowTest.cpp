#include "framework/Window.h"

#include "tests/support/WindowTesting.h"

#include <gtest/gtest.h>

#include "framework/GdiHandles.h"

#include <algorithm>
#include <stdexcept>

namespace {

// Records the messages it sees; can be told to throw or to destroy its own window.
class Recorder : public CWnd {
public:
    std::vector<UINT> seen;
    UINT throwOn = 0;
    UINT destroyOn = 0;
    HBRUSH colourAnswer = nullptr;
    int reflectedDraws = 0;

    using CWnd::DefaultProc;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == throwOn && throwOn) {
            throw std::runtime_error("handler failed");
        }
        if (message == destroyOn && destroyOn) {
            DestroyWindow();
            return 0;
        }
        return CWnd::HandleMessage(message, wParam, lParam);
    }
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM, LPARAM) override
    {
        if (message == WM_CTLCOLORSTATIC && colourAnswer) {
            return reinterpret_cast<LRESULT>(colourAnswer);
        }
        if (message == WM_DRAWITEM) {
            ++reflectedDraws;
            return TRUE;
        }
        return std::nullopt;
    }
};

bool Saw(const Recorder& recorder, UINT message)
{
    return std::find(recorder.seen.begin(), recorder.seen.end(), message) != recorder.seen.end();
}

}  // namespace

TEST(WindowTest, CreatedWindowIsBoundFromItsFirstMessageAndDestroyedWithItsObject)
{
    HWND window = nullptr;
    {
        Recorder recorder;
        ASSERT_TRUE(recorder.CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), "bound", WS_POPUP,
                                      RECT{0, 0, 50, 50}, nullptr, 0));
        window = recorder.GetSafeHwnd();
        EXPECT_EQ(CWnd::FromHandle(window), &recorder);
        ASSERT_FALSE(recorder.seen.empty());
        EXPECT_EQ(recorder.seen.front(), static_cast<UINT>(WM_NCCREATE));
        EXPECT_TRUE(Saw(recorder, WM_CREATE));
        recorder.SetWindowText("renamed");
        EXPECT_EQ(recorder.GetWindowText(), "renamed");
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST(WindowTest, SubclassedControlIsBorrowedAndGivenBackItsProcedure)
{
    HostWindow host;
    HWND edit = host.AddControl("EDIT", "text", 0, RECT{10, 10, 200, 40}, 100);
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);
    {
        Recorder recorder;
        ASSERT_TRUE(recorder.SubclassDlgItem(100, host.GetSafeHwnd()));
        EXPECT_EQ(CWnd::FromHandle(edit), &recorder);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
        EXPECT_TRUE(Saw(recorder, WM_SETTEXT));
        // The control's own handling still runs.
        EXPECT_EQ(recorder.GetWindowText(), "typed");

        Recorder second;
        EXPECT_FALSE(second.SubclassWindow(edit)) << "a window has one object";
        EXPECT_FALSE(second.SubclassDlgItem(999, host.GetSafeHwnd())) << "no such control";
    }
    ASSERT_TRUE(IsWindow(edit)) << "the dialog's control outlives the borrowing object";
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandle(edit), nullptr);
    SetWindowTextA(edit, "still works");
    char text[32] = "";
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "still works");
}

TEST(WindowTest, ExceptionInAHandlerStaysInsideTheWindowProcedure)
{
    HostWindow host;
    host.AddControl("EDIT", "", 0, RECT{10, 10, 200, 40}, 100);
    Recorder recorder;
    recorder.throwOn = WM_SETTEXT;
    ASSERT_TRUE(recorder.SubclassDlgItem(100, host.GetSafeHwnd()));

    // The failed handler's message gets its default handling and the window carries on.
    EXPECT_NO_THROW(SendMessageA(recorder.GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after")));
    EXPECT_EQ(recorder.GetWindowText(), "after");
    EXPECT_TRUE(recorder.IsWindow());
}

TEST(WindowTest, WindowDestroyedByItsOwnHandlerLeavesTheObjectUnbound)
{
    Recorder recorder;
    recorder.destroyOn = WM_USER + 5;
    ASSERT_TRUE(recorder.CreateEx(0, RegisterWndClass(0, nullptr, nullptr, nullptr), "self", WS_POPUP,
                                  RECT{0, 0, 50, 50}, nullptr, 0));
    HWND window = recorder.GetSafeHwnd();
    SendMessageA(window, WM_USER + 5, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(recorder.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(Saw(recorder, WM_NCDESTROY));
    // Operations on an object without a window do nothing.
    EXPECT_EQ(recorder.SendMessage(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(recorder.GetWindowText(), "");
    EXPECT_EQ(recorder.SetTimer(1, 100), 0u);
}

TEST(WindowTest, ParentReflectsColourAndDrawingRequestsToTheControlThatSentThem)
{
    HostWindow host;
    host.AddControl("STATIC", "label", 0, RECT{10, 10, 200, 40}, 101);
    host.AddControl("BUTTON", "button", BS_OWNERDRAW, RECT{10, 50, 200, 80}, 102);
    UniqueBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    Recorder label;
    label.colourAnswer = brush.get();
    Recorder button;
    ASSERT_TRUE(label.SubclassDlgItem(101, host.GetSafeHwnd()));
    ASSERT_TRUE(button.SubclassDlgItem(102, host.GetSafeHwnd()));

    HDC dc = GetDC(label.GetSafeHwnd());
    EXPECT_EQ(host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(label.GetSafeHwnd())),
              reinterpret_cast<LRESULT>(brush.get()));
    ReleaseDC(label.GetSafeHwnd(), dc);

    // An owner-drawn button asks its parent to draw it whenever it paints.
    button.Invalidate();
    UpdateWindow(button.GetSafeHwnd());
    EXPECT_GT(button.reflectedDraws, 0);
}

TEST(WindowTest, PreTranslationRunsFromTheTargetUpToItsTopLevelWindowOnly)
{
    // Records which windows were offered a message, and may claim it.
    class Translator : public CWnd {
    public:
        Translator(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
        bool PreTranslateMessage(MSG&) override
        {
            log_.push_back(name_);
            return claim;
        }
        bool claim = false;

    private:
        std::vector<std::string>& log_;
        std::string name_;
    };

    std::vector<std::string> log;
    const std::string windowClass = RegisterWndClass(0, nullptr, nullptr, nullptr);
    Translator owner(log, "owner");
    Translator top(log, "top");
    Translator middle(log, "middle");
    Translator inner(log, "inner");
    ASSERT_TRUE(owner.CreateEx(0, windowClass, "", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    ASSERT_TRUE(top.CreateEx(0, windowClass, "", WS_POPUP, RECT{0, 0, 100, 100}, owner.GetSafeHwnd(), 0));
    ASSERT_TRUE(middle.CreateEx(0, windowClass, "", WS_CHILD, RECT{0, 0, 50, 50}, top.GetSafeHwnd(), 1));
    ASSERT_TRUE(inner.CreateEx(0, windowClass, "", WS_CHILD, RECT{0, 0, 20, 20}, middle.GetSafeHwnd(), 2));

    MSG message{inner.GetSafeHwnd(), WM_KEYDOWN, VK_SPACE, 0, 0, {}};
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(message));
    EXPECT_EQ(log, (std::vector<std::string>{"inner", "middle", "top"})) << "an owner is not a parent";

    log.clear();
    middle.claim = true;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(message));
    EXPECT_EQ(log, (std::vector<std::string>{"inner", "middle"}));
}
