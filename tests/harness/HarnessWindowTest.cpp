// Checks that a test's window really reaches the X display, not just that its visible style is set.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPaint = RGB(0x12, 0xa4, 0x5c);

LRESULT CALLBACK PaintProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(kPaint);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

TEST(HarnessWindowTest, ShownWindowIsVisibleAndPaintsTheScreen)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PaintProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CorvadinHarnessWindow";
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(RegisterClassA(&windowClass), 0);

    HWND window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "Corvadin harness", WS_POPUP, 100, 100,
                                  200, 150, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    EXPECT_TRUE(IsWindowVisible(window));

    // The X server maps the window asynchronously: give it a moment before reading the screen back.
    COLORREF onScreen = CLR_INVALID;
    for (int attempt = 0; attempt < 50 && onScreen != kPaint; ++attempt) {
        PumpMessages();
        Sleep(20);
        HDC screen = GetDC(nullptr);
        onScreen = GetPixel(screen, 200, 175);
        ReleaseDC(nullptr, screen);
    }
    EXPECT_EQ(onScreen, kPaint) << "the window did not appear on the display";

    DestroyWindow(window);
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);
}

} // namespace
