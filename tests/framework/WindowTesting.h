// Helpers for tests that drive real windows: a plain top-level host, pumping the queue the way the product's modal
// loops do, and real keyboard input.
#pragma once

#include "framework/Application.h"
#include "framework/Window.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

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
