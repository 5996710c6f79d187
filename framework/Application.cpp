#include "framework/Application.h"

#include "framework/Resources.h"
#include "framework/Window.h"

#include <cstdio>

int CWinApp::Run(HINSTANCE instance)
{
    instance_ = instance;
    SetResourceInstance(instance);
    // Every window runs in a modal loop inside InitInstance, so there is no message loop after it.
    InitInstance();
    return 0;
}

bool PumpMessage()
{
    MSG message;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    if (got > 0 && !CWnd::WalkPreTranslateTree(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

std::string RegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    char name[96];
    std::snprintf(name, sizeof name, "Corvadin:%x:%p:%p:%p", style, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, name, &existing)) {
        return name;
    }
    WNDCLASSA windowClass{};
    windowClass.style = style;
    windowClass.lpfnWndProc = &CWnd::StaticWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass) ? std::string(name) : std::string();
}
