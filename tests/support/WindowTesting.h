// Helpers for tests that drive real windows: a plain top-level host, pumping the queue the way the product's modal
// loops do, real keyboard and mouse input, a second thread that drives a modal dialog as a person would, and
// pictures of what the screen shows.
#pragma once

#include "framework/Application.h"
#include "framework/GdiHandles.h"
#include "framework/Resources.h"
#include "framework/Window.h"
#include "tests/support/Programs.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

// While it lives, the main window opens as a new user's would: what it remembers (its place, the list's columns
// and sort) is gone before and after.
class ForgottenMainWindow {
public:
    ForgottenMainWindow() { Forget(); }
    ~ForgottenMainWindow() { Forget(); }
    ForgottenMainWindow(const ForgottenMainWindow&) = delete;
    ForgottenMainWindow& operator=(const ForgottenMainWindow&) = delete;

private:
    static void Forget()
    {
        for (const char* name : {"MainWindowPlacement", "ResultColumns", "ResultSort"}) {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Quenmark\\Corvadin", name);
        }
    }
};

// Handles the messages already waiting as the product's message pump does, without blocking.
inline void PumpWaitingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// Handles what is waiting, and goes on for the given time: the display and timers need a moment.
inline void PumpFor(DWORD milliseconds = 0)
{
    const DWORD start = GetTickCount();
    do {
        PumpWaitingMessages();
        if (milliseconds) {
            Sleep(5);
        }
    } while (GetTickCount() - start < milliseconds);
}

// Pumps until condition holds or the time is up; returns the condition. Some notices (the mouse leaving a window)
// come on the system's own timer.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD milliseconds = 2000)
{
    return PollUntil(condition, milliseconds, [] { PumpFor(10); });
}

inline std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

// Clicks a dialog's button as its owner hears of it.
inline void ClickItem(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The first top-level window for which found(window) holds; null when there is none.
struct TopLevelSearch {
    const std::function<bool(HWND)>& found;
    HWND window;

    static BOOL CALLBACK Step(HWND window, LPARAM data)
    {
        auto* search = reinterpret_cast<TopLevelSearch*>(data);
        search->window = search->found(window) ? window : nullptr;
        return search->window == nullptr;
    }
};

inline HWND FindTopLevel(const std::function<bool(HWND)>& found)
{
    TopLevelSearch search{found, nullptr};
    EnumWindows(&TopLevelSearch::Step, reinterpret_cast<LPARAM>(&search));
    return search.window;
}

// A shown top-level dialog window of this process with caption; null when none appears in time.
inline HWND WaitForDialog(const char* caption, DWORD milliseconds = 5000)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowA("#32770", caption);
            return found && IsWindowVisible(found);
        },
        milliseconds);
    return found && IsWindowVisible(found) ? found : nullptr;
}

// The texts of a message box's static controls, joined.
inline std::string MessageText(HWND box)
{
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
            text += WindowText(child);
        }
    }
    return text;
}

// Runs run() (a modal loop) on this thread while script drives it from a second one. A script ends the run itself;
// whatever it still leaves open a few seconds later is cancelled, so that a failing test cannot hang the run.
inline void RunDriven(const std::function<void()>& run, const std::function<void()>& script, const char* caption)
{
    std::thread driver([&] {
        script();
        if (WaitUntil([&] { return !FindWindowA("#32770", caption); }, 3000)) {
            return;
        }
        WaitUntil([&] {
            for (const char* open : {"Error", caption}) {
                if (HWND window = FindWindowA("#32770", open)) {
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                }
            }
            return !FindWindowA("#32770", caption);
        });
    });
    run();
    driver.join();
}

// A visible top-level window that records the commands it receives.
class HostWindow : public CWnd {
public:
    explicit HostWindow(RECT rect = {40, 40, 680, 520})
    {
        const std::string windowClass = RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW),
                                                         static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), nullptr);
        CreateEx(0, windowClass, "Corvadin test host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect, nullptr, 0);
        SetForegroundWindow(GetSafeHwnd());
        PumpFor();
    }

    // A child control of a system class, owned by this window.
    HWND AddControl(const char* className, const char* text, DWORD style, RECT rect, UINT id) const
    {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, GetSafeHwnd(),
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }

    bool OnCommand(UINT id, UINT, HWND) override
    {
        commands.push_back(id);
        return true;
    }

    std::vector<UINT> commands;
};

// The number of columns of a report-style list view, and a column's header.
inline int ColumnCount(HWND list)
{
    const auto header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

inline std::string ColumnHeader(HWND list, int column)
{
    char text[256] = "";
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    return text;
}

// Presses the keys in order and releases them in reverse, as a person would, then lets the queue run.
inline void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpFor(100);
}

// Moves the real mouse pointer to a point on the screen, as a person would.
inline void MoveMouseTo(POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    PumpFor(60);
}

inline void PressLeftButton(bool down)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    PumpFor(60);
}

// The centre of a window, and a point well away from it, in screen coordinates.
inline POINT CentreOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

inline POINT FarFrom(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.right + 150, rect.bottom + 150};
}

// Pixels held in a memory DC: a copy of what a window's client area shows once painted, or a bitmap resource.
class Pixels {
public:
    explicit Pixels(HWND window)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT client{};
        GetClientRect(window, &client);
        size_ = {client.right, client.bottom};
        HDC source = GetDC(window);
        dc_.reset(CreateCompatibleDC(source));
        bitmap_.reset(CreateCompatibleBitmap(source, size_.cx, size_.cy));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
        BitBlt(dc_.get(), 0, 0, size_.cx, size_.cy, source, 0, 0, SRCCOPY);
        ReleaseDC(window, source);
    }
    explicit Pixels(UINT bitmapId) : bitmap_(LoadBitmapResource(bitmapId))
    {
        size_ = BitmapSize(bitmap_.get());
        dc_.reset(CreateCompatibleDC(nullptr));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~Pixels()
    {
        if (previous_) {
            SelectObject(dc_.get(), previous_);
        }
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    bool Valid() const { return bitmap_.valid() && size_.cx > 0 && size_.cy > 0; }
    SIZE Size() const { return size_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

    // The number of pixels of exactly colour.
    int Count(COLORREF colour) const
    {
        int count = 0;
        for (LONG y = 0; y < size_.cy; ++y) {
            for (LONG x = 0; x < size_.cx; ++x) {
                count += At(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    // Whether this shows other at its top-left corner, judged on a grid of points inside both.
    bool Shows(const Pixels& other) const
    {
        const LONG width = std::min(size_.cx, other.size_.cx);
        const LONG height = std::min(size_.cy, other.size_.cy);
        for (LONG y = 1; y < height; y += std::max<LONG>(1, height / 5)) {
            for (LONG x = 1; x < width; x += std::max<LONG>(1, width / 9)) {
                if (At(x, y) != other.At(x, y)) {
                    return false;
                }
            }
        }
        return width > 0 && height > 0;
    }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    SIZE size_{};
};

// Writes the screen's rectangle as a 24-bit bitmap file; false when it cannot.
inline bool SaveScreen(const RECT& rect, const std::string& path)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    UniqueMemoryDc memory(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    {
        SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> bits(stride * static_cast<DWORD>(height));
    const int lines = GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(height), bits.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != height) {
        return false;
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4d42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(bits.data(), static_cast<std::streamsize>(bits.size()));
    return out.good();
}

// Where a screenshot test saves its picture for people to look at: CORVADIN_SCREENSHOT_DIR, or beside the test
// program in the build tree (never the current folder, which may be the source tree).
inline std::string ScreenshotPath(const std::string& name)
{
    if (const char* folder = std::getenv("CORVADIN_SCREENSHOT_DIR")) {
        return std::string(folder) + "\\" + name;
    }
    char program[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path(program, length < MAX_PATH ? length : 0);
    const size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1)) + name;
}
