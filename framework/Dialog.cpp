#include "framework/Dialog.h"

#include "framework/Application.h"
#include "framework/Resources.h"

#include <cstring>
#include <string>

namespace {

// Messages whose dialog procedure result is the answer itself rather than a handled flag.
bool AnswersDirectly(UINT message) noexcept
{
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) noexcept : templateId_(templateId), parent_(parent) {}

INT_PTR CDialog::DoModal()
{
    if (GetSafeHwnd()) {
        return -1;
    }
    const HWND parent = ParentHandle();
    const HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) {
        ::EnableWindow(owner, FALSE);
    }
    modal_ = true;
    continueModal_ = true;
    result_ = -1;
    // EndDialog may already have been called from OnInitDialog, inside the creation.
    if (CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId_), parent, &CDialog::StaticDialogProc,
                           reinterpret_cast<LPARAM>(this)) &&
        continueModal_) {
        RunModalLoop();
    }
    if (IsWindow()) {
        SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    // The owner is enabled again before the dialog goes, so that the activation returns to it.
    if (disableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (owner && GetActiveWindow() == GetSafeHwnd()) {
        SetActiveWindow(owner);
    }
    DestroyWindow();
    modal_ = false;
    continueModal_ = false;
    return result_;
}

bool CDialog::Create()
{
    if (GetSafeHwnd()) {
        return false;
    }
    modal_ = false;
    return CreateDialogParamA(ResourceInstance(), MAKEINTRESOURCEA(templateId_), ParentHandle(),
                              &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (modal_) {
        result_ = result;
        continueModal_ = false;
        // Wakes the loop, which may be waiting for a message.
        if (IsWindow()) {
            PostMessageA(GetSafeHwnd(), WM_NULL, 0, 0);
        }
    } else {
        ShowWindow(SW_HIDE);
    }
}

bool CDialog::PreTranslateMessage(MSG& message)
{
    return IsWindow() && IsDialogMessageA(GetSafeHwnd(), &message);
}

bool CDialog::OnCommand(UINT id, UINT, HWND)
{
    switch (id) {
    case IDOK:
        OnOK();
        return true;
    case IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

std::optional<LRESULT> CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        ExecuteDlgInit();
        return OnInitDialog();
    }
    return CWnd::HandleMessage(message, wParam, lParam);
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    auto* self = static_cast<CDialog*>(FromHandle(window));
    if (!self && message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->Bind(window, true, nullptr);
    }
    if (!self) {
        return FALSE;
    }
    const std::optional<LRESULT> handled = Guarded(*self, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->Unbind();
    }
    if (!handled) {
        return FALSE;
    }
    if (AnswersDirectly(message)) {
        return static_cast<INT_PTR>(*handled);
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, *handled);
    return TRUE;
}

HWND CDialog::ParentHandle() const noexcept
{
    return parent_ ? parent_->GetSafeHwnd() : nullptr;
}

void CDialog::ExecuteDlgInit() const
{
    const HINSTANCE instance = ResourceInstance();
    const HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(kInitDataType));
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data) {
        return;
    }
    const size_t size = SizeofResource(instance, found);
    constexpr size_t kHeader = 2 * sizeof(WORD) + sizeof(DWORD);
    for (size_t at = 0; at + kHeader <= size;) {
        WORD control = 0;
        WORD message = 0;
        DWORD length = 0;
        std::memcpy(&control, data + at, sizeof control);
        std::memcpy(&message, data + at + sizeof(WORD), sizeof message);
        std::memcpy(&length, data + at + 2 * sizeof(WORD), sizeof length);
        at += kHeader;
        // A record running past the end of the data is damaged: nothing after it can be trusted.
        if (control == 0 || length > size - at) {
            return;
        }
        if (message == CB_ADDSTRING || message == LB_ADDSTRING) {
            const auto* text = reinterpret_cast<const char*>(data + at);
            const std::string entry(text, strnlen(text, length));
            SendDlgItemMessageA(GetSafeHwnd(), control, message, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        }
        at += length;
    }
}

void CDialog::RunModalLoop()
{
    // Like the system's own dialog boxes, a dialog without the visible style is shown once the queue is empty.
    bool showOnIdle = !(GetStyle() & WS_VISIBLE);
    while (continueModal_ && IsWindow()) {
        MSG waiting;
        if (showOnIdle && !PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            ShowWindow(SW_SHOWNORMAL);
            UpdateWindow(GetSafeHwnd());
            showOnIdle = false;
            continue;
        }
        if (!PumpMessage()) {
            break;
        }
    }
}
