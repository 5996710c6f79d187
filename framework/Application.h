// The application object, the message pump every modal loop shares, and window classes registered on the fly.
#pragma once

#include <windows.h>

#include <string>

class CWinApp {
public:
    CWinApp() noexcept = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The program's whole run: remembers the instance (resources are loaded from it), then InitInstance. The
    // program's windows all run in modal loops inside InitInstance, so the process ends when it returns, whatever
    // it returns.
    int Run(HINSTANCE instance);
    HINSTANCE Instance() const noexcept { return instance_; }

protected:
    virtual BOOL InitInstance() = 0;

private:
    HINSTANCE instance_ = nullptr;
};

// Waits for one message and handles it, letting dialogs and frames on its way translate it first (dialog
// navigation, modeless dialogs, accelerators). False on WM_QUIT, which is posted again for the outer loops.
bool PumpMessage();

// A window class whose procedure is the framework's, named after its attributes so that asking again for the same
// attributes gives the same class. Empty when the class cannot be registered.
std::string RegisterWndClass(UINT style, HCURSOR cursor, HBRUSH background, HICON icon);
