// CNotifyIcon: the program's icon in the notification area, its tip and its menu. Not a window: its owner passes
// it the callback message and "TaskbarCreated", and receives the menu's commands as ordinary commands.
#pragma once

#include "framework/GdiHandles.h"

#include <windows.h>

#include <functional>
#include <string>

class CNotifyIcon {
public:
    // The tray keeps 63 characters of a tip; the whole tip (up to this many) is kept here.
    static constexpr size_t kTipCapacity = 255;

    // A callback message of 0 becomes a message of its own; a null module the program's; a null tip the string
    // resource iconId. The icon is added at once; see IsAdded. showMainWindow is what a double-click does.
    CNotifyIcon(HWND owner, UINT iconId, UINT callbackMessage, HINSTANCE module, const char* tip,
                std::function<void()> showMainWindow);
    virtual ~CNotifyIcon();
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;

    // Loads icon iconId from module and adds it with tip (null keeps the stored tip). False when the owner is
    // gone, the icon cannot be loaded or the shell refuses it.
    bool SetIcon(HINSTANCE module, UINT iconId, const char* tip);
    bool AddIcon(HICON icon, const char* tip);
    bool RemoveIcon();
    void SetMenu(HINSTANCE module, UINT menuId);
    // The owner's callback message and "TaskbarCreated"; anything else is ignored. Returns 1.
    virtual LRESULT OnNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool IsAdded() const noexcept { return added_; }
    const std::string& Tip() const noexcept { return tip_; }
    UINT CallbackMessage() const noexcept { return callbackMessage_; }
    UINT IconId() const noexcept { return iconId_; }

    // The shell's broadcast after the taskbar has been made again.
    static UINT TaskbarCreatedMessage();

private:
    void ShowMenu();

    UINT callbackMessage_;
    HWND owner_;
    UINT iconId_;
    UniqueIcon icon_;
    std::string tip_;
    HINSTANCE module_;
    HINSTANCE menuModule_ = nullptr;
    UINT menuId_;
    bool added_ = false;
    bool showMainWindowNext_ = false;
    std::function<void()> showMainWindow_;
};
