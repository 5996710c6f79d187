#include "app/NotifyIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace {

HINSTANCE OrProgram(HINSTANCE module)
{
    return module ? module : GetModuleHandleA(nullptr);
}

std::string StringResource(HINSTANCE module, UINT id)
{
    char text[CNotifyIcon::kTipCapacity + 1] = "";
    const int length = LoadStringA(module, id, text, sizeof text);
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace

CNotifyIcon::CNotifyIcon(HWND owner, UINT iconId, UINT callbackMessage, HINSTANCE module, const char* tip,
                         std::function<void()> showMainWindow)
    : callbackMessage_(callbackMessage ? callbackMessage : RegisterWindowMessageA("CNotifyIcon_regMsg")),
      owner_(owner),
      iconId_(iconId),
      module_(OrProgram(module)),
      menuId_(iconId),
      showMainWindow_(std::move(showMainWindow))
{
    menuModule_ = module_;
    tip_ = tip ? std::string(tip) : StringResource(module_, iconId);
    tip_.resize(std::min(tip_.size(), kTipCapacity));
    added_ = SetIcon(module_, iconId, nullptr);
}

CNotifyIcon::~CNotifyIcon()
{
    RemoveIcon();
}

bool CNotifyIcon::SetIcon(HINSTANCE module, UINT iconId, const char* tip)
{
    if (!IsWindow(owner_)) {
        return false;
    }
    icon_.reset(static_cast<HICON>(
        LoadImageA(OrProgram(module), MAKEINTRESOURCEA(iconId), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
    if (!icon_) {
        return false;
    }
    return AddIcon(icon_.get(), tip ? tip : tip_.c_str());
}

bool CNotifyIcon::AddIcon(HICON icon, const char* tip)
{
    if (!IsWindow(owner_)) {
        return false;
    }
    NOTIFYICONDATAA data{};
    // The first form of the record: what every version of the shell understands.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner_;
    data.uID = iconId_;
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = callbackMessage_;
    if (icon) {
        data.uFlags |= NIF_ICON;
        data.hIcon = icon;
    }
    if (tip) {
        if (tip != tip_.c_str()) {
            tip_.assign(tip, strnlen(tip, kTipCapacity));
        }
        data.uFlags |= NIF_TIP;
        // The first form holds 64 characters: the tip is cut to 63 and its terminating zero.
        std::strncpy(data.szTip, tip_.c_str(), 63);
        data.szTip[63] = '\0';
    }
    added_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
    return added_;
}

bool CNotifyIcon::RemoveIcon()
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner_;
    data.uID = iconId_;
    const bool removed = Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
    if (removed) {
        added_ = false;
    }
    return removed;
}

void CNotifyIcon::SetMenu(HINSTANCE module, UINT menuId)
{
    menuModule_ = OrProgram(module);
    menuId_ = menuId;
}

UINT CNotifyIcon::TaskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

LRESULT CNotifyIcon::OnNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TaskbarCreatedMessage()) {
        // The new taskbar knows nothing of the icon: add it again, as it was.
        if (added_ && icon_) {
            AddIcon(icon_.get(), tip_.c_str());
        }
        return 1;
    }
    if (window != owner_ || message != callbackMessage_ || wParam != iconId_) {
        return 1;
    }
    switch (lParam) {
    case WM_RBUTTONUP:
        ShowMenu();
        break;
    case WM_LBUTTONDBLCLK:
        showMainWindowNext_ = true;
        ShowMenu();
        break;
    default:
        break;
    }
    return 1;
}

void CNotifyIcon::ShowMenu()
{
    if (showMainWindowNext_) {
        showMainWindowNext_ = false;
        if (showMainWindow_) {
            showMainWindow_();
        }
        return;
    }
    if (!menuId_) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const UniqueMenu menu(LoadMenuA(menuModule_, MAKEINTRESOURCEA(menuId_)));
    const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) {
        return;
    }
    SetForegroundWindow(owner_);
    TrackPopupMenu(popup, TPM_CENTERALIGN | TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, owner_, nullptr);
    // Without a message after it, the menu would not close when the user clicks elsewhere.
    PostMessageA(owner_, WM_NULL, 0, 0);
}
