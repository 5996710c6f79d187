// CWnd: a C++ object bound to one window. The object is bound once (WM_NCCREATE for windows it creates, at
// subclassing for existing controls, WM_INITDIALOG for dialogs), through a static noexcept trampoline that keeps
// `this` in the window's user data and forwards every message to the virtual HandleMessage.
//
// Ownership is part of the binding: a window the object created is destroyed with the object; a control it only
// subclassed (a dialog's child) belongs to the dialog and is merely given back its own procedure.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class CWnd {
public:
    CWnd() noexcept = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const noexcept { return hwnd_; }
    bool IsWindow() const noexcept { return hwnd_ && ::IsWindow(hwnd_); }
    // The object bound to window, or null when no CWnd handles it.
    static CWnd* FromHandle(HWND window) noexcept;

    // Creates a window of a class registered with RegisterWndClass; this object owns it.
    bool CreateEx(DWORD exStyle, const std::string& className, const std::string& title, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    // Creates a window of a system class (a list view, ...) and binds it; this object owns it.
    bool CreateControl(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id);
    // Binds the existing control id of dialog without owning it. False when there is no such control or it is
    // bound already.
    bool SubclassDlgItem(UINT id, HWND dialog);
    bool SubclassWindow(HWND control);
    // Destroys a window this object owns; a subclassed control is only given back.
    void DestroyWindow();

    // The handler of WM_COMMAND; true when the command was handled. Frames route their commands to their view.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // Called by the message pump before the message is dispatched; true when it was handled here.
    virtual bool PreTranslateMessage(MSG& message);
    // Offers message to the windows from its target up to the top-level window, innermost first.
    static bool WalkPreTranslateTree(MSG& message);
    // The procedure of windows this framework creates from its own classes (see RegisterWndClass) and of the
    // controls it subclasses.
    static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Thin conveniences over the window, each doing nothing without one.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept;
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) const noexcept;
    void Invalidate(bool erase = true) const noexcept;
    void EnableWindow(bool enable) const noexcept;
    void ShowWindow(int command) const noexcept;
    DWORD GetStyle() const noexcept;
    RECT GetClientRect() const noexcept;
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) const noexcept;
    void KillTimer(UINT_PTR id) const noexcept;

protected:
    // One message: a value when handled, nothing for the default handling. Derived classes switch on the messages
    // they care about and pass the rest to their base.
    virtual std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification, colour request or owner-draw request that this control's parent passed back to it.
    virtual std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's own handling of a message.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Right after an existing control was bound, before its next message: the place to adjust its style.
    virtual void PreSubclassWindow() {}

    // Binding used by the trampolines: superProc is the procedure DefaultProc calls (none for dialogs).
    void Bind(HWND window, bool owns, WNDPROC superProc) noexcept;
    void Unbind() noexcept;
    // Runs a handler at the window procedure boundary: an exception is logged and the message gets its default.
    static std::optional<LRESULT> Guarded(CWnd& window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    HWND hwnd_ = nullptr;
    WNDPROC superProc_ = nullptr;
    bool ownsWindow_ = false;
    bool subclassed_ = false;
};
