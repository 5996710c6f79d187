#include "framework/Window.h"

#include "registry/OperationLog.h"

#include <exception>
#include <string>

namespace {

// Marks windows whose user data holds a CWnd, so that FromHandle never misreads another component's user data.
constexpr char kBoundMark[] = "Corvadin.CWnd";

void ReportEscaped(UINT message, const char* what) noexcept
{
    try {
        OperationLog::Write("Window message " + std::to_string(message) + " failed: " + what);
    } catch (...) {
        // Nothing more can be done about a failure to report a failure.
    }
}

// The control a parent's message is about, which gets it reflected; null when the message names none.
HWND ReflectionTarget(UINT message, LPARAM lParam) noexcept
{
    if (!lParam) {
        return nullptr;
    }
    switch (message) {
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

}  // namespace

CWnd::~CWnd()
{
    if (!hwnd_) {
        return;
    }
    // Unbound first: the derived parts of this object are gone, so the window's last messages must not reach it.
    const HWND window = hwnd_;
    const bool owns = ownsWindow_;
    Unbind();
    if (owns && ::IsWindow(window)) {
        ::DestroyWindow(window);
    }
}

CWnd* CWnd::FromHandle(HWND window) noexcept
{
    if (!window || !GetPropA(window, kBoundMark)) {
        return nullptr;
    }
    return reinterpret_cast<CWnd*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool CWnd::CreateEx(DWORD exStyle, const std::string& className, const std::string& title, DWORD style,
                    const RECT& rect, HWND parent, UINT id)
{
    if (hwnd_) {
        return false;
    }
    // For a top-level window the menu argument is a menu handle, not an id.
    const auto menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    // Bound in WM_NCCREATE from the creation parameter.
    return CreateWindowExA(exStyle, className.c_str(), title.c_str(), style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                           GetModuleHandleA(nullptr), this) != nullptr;
}

bool CWnd::CreateControl(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (hwnd_) {
        return false;
    }
    HWND control = CreateWindowExA(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    if (!control) {
        return false;
    }
    if (!SubclassWindow(control)) {
        ::DestroyWindow(control);
        return false;
    }
    ownsWindow_ = true;
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, HWND dialog)
{
    return SubclassWindow(dialog ? GetDlgItem(dialog, static_cast<int>(id)) : nullptr);
}

bool CWnd::SubclassWindow(HWND control)
{
    if (hwnd_ || !control || !::IsWindow(control) || FromHandle(control)) {
        return false;
    }
    Bind(control, false, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC)));
    subclassed_ = true;
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc));
    PreSubclassWindow();
    return true;
}

void CWnd::DestroyWindow()
{
    if (!hwnd_) {
        return;
    }
    if (ownsWindow_) {
        // WM_NCDESTROY unbinds.
        ::DestroyWindow(hwnd_);
    }
    Unbind();
}

bool CWnd::OnCommand(UINT, UINT, HWND)
{
    return false;
}

bool CWnd::PreTranslateMessage(MSG&)
{
    return false;
}

bool CWnd::WalkPreTranslateTree(MSG& message)
{
    for (HWND window = message.hwnd; window;) {
        if (CWnd* bound = FromHandle(window); bound && bound->PreTranslateMessage(message)) {
            return true;
        }
        if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) {
            break;
        }
        window = GetParent(window);
    }
    return false;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    CWnd* self = FromHandle(window);
    if (!self && message == WM_NCCREATE) {
        self = static_cast<CWnd*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) {
            self->Bind(window, true, &DefWindowProcA);
        }
    }
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // Kept aside: a handler may destroy its own window, which unbinds the object.
    const WNDPROC superProc = self->superProc_;
    const std::optional<LRESULT> handled = Guarded(*self, message, wParam, lParam);
    const LRESULT result = handled ? *handled : CallWindowProcA(superProc, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->Unbind();
    }
    return result;
}

std::optional<LRESULT> CWnd::Guarded(CWnd& window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        return window.HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ReportEscaped(message, error.what());
    } catch (...) {
        ReportEscaped(message, "unknown exception");
    }
    return std::nullopt;
}

std::optional<LRESULT> CWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) {
            return 0;
        }
        return std::nullopt;
    }
    if (CWnd* child = FromHandle(ReflectionTarget(message, lParam)); child && child != this) {
        return child->HandleReflected(message, wParam, lParam);
    }
    return std::nullopt;
}

std::optional<LRESULT> CWnd::HandleReflected(UINT, WPARAM, LPARAM)
{
    return std::nullopt;
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (!hwnd_ || !superProc_) {
        return 0;
    }
    return CallWindowProcA(superProc_, hwnd_, message, wParam, lParam);
}

void CWnd::Bind(HWND window, bool owns, WNDPROC superProc) noexcept
{
    hwnd_ = window;
    ownsWindow_ = owns;
    superProc_ = superProc;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetPropA(window, kBoundMark, reinterpret_cast<HANDLE>(1));
}

void CWnd::Unbind() noexcept
{
    if (!hwnd_) {
        return;
    }
    if (subclassed_ && ::IsWindow(hwnd_)) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    }
    RemovePropA(hwnd_, kBoundMark);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    superProc_ = nullptr;
    ownsWindow_ = false;
    subclassed_ = false;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const noexcept
{
    return IsWindow() ? ::SendMessageA(hwnd_, message, wParam, lParam) : 0;
}

std::string CWnd::GetWindowText() const
{
    if (!IsWindow()) {
        return {};
    }
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CWnd::SetWindowText(const std::string& text) const noexcept
{
    if (IsWindow()) {
        ::SetWindowTextA(hwnd_, text.c_str());
    }
}

void CWnd::Invalidate(bool erase) const noexcept
{
    if (IsWindow()) {
        InvalidateRect(hwnd_, nullptr, erase);
    }
}

void CWnd::EnableWindow(bool enable) const noexcept
{
    if (IsWindow()) {
        ::EnableWindow(hwnd_, enable);
    }
}

void CWnd::ShowWindow(int command) const noexcept
{
    if (IsWindow()) {
        ::ShowWindow(hwnd_, command);
    }
}

DWORD CWnd::GetStyle() const noexcept
{
    return IsWindow() ? static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)) : 0;
}

RECT CWnd::GetClientRect() const noexcept
{
    RECT rect{};
    if (IsWindow()) {
        ::GetClientRect(hwnd_, &rect);
    }
    return rect;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT milliseconds) const noexcept
{
    return IsWindow() ? ::SetTimer(hwnd_, id, milliseconds, nullptr) : 0;
}

void CWnd::KillTimer(UINT_PTR id) const noexcept
{
    if (IsWindow()) {
        ::KillTimer(hwnd_, id);
    }
}
