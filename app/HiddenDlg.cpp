#include "app/HiddenDlg.h"

#include "app/RegisteredMessages.h"
#include "framework/Resources.h"
#include "resources/resource.h"
#include "settings/StartupOptions.h"

CHiddenDlg::CHiddenDlg() : CDialog(IDD_HIDDEN), mainWindow_(std::make_unique<CMainDialog>(this)) {}

BOOL CHiddenDlg::OnInitDialog()
{
    trayIcon_ = std::make_unique<CNotifyIcon>(GetSafeHwnd(), IDI_TRAY, NotifyIconMessage(), ResourceInstance(),
                                              "Corvadin", [this] { ShowMainWindow(); });
    trayIcon_->SetMenu(ResourceInstance(), IDR_TRAY_MENU);
    // The tray icon works while the main window runs inside this call.
    ShowMainWindow();
    return TRUE;
}

void CHiddenDlg::ShowMainWindow()
{
    CMainDialog& main = *mainWindow_;
    main.SetExitOnClose(exitOnClose_);
    if (!main.IsWindow()) {
        main.DoModal();
        return;
    }
    TheStartupFlags().startHidden = false;
    main.ShowWindow(SW_RESTORE);
    main.ShowWindow(SW_SHOWNORMAL);
    SetForegroundWindow(main.GetSafeHwnd());
    SetFocus(main.GetSafeHwnd());
}

void CHiddenDlg::ExitProgram()
{
    mainWindow_->Shutdown();
    EndDialog(IDCANCEL);
}

bool CHiddenDlg::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case ID_TRAY_SHOW:
        ShowMainWindow();
        return true;
    case ID_TRAY_EXIT:
        ExitProgram();
        return true;
    default:
        return CDialog::OnCommand(id, code, control);
    }
}

void CHiddenDlg::OnCancel()
{
    // Whoever closes this window ends the program, and that goes through the orderly way out.
    ExitProgram();
}

std::optional<LRESULT> CHiddenDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == NotifyViewSchedulerMessage()) {
        // Answered at once: the main window may have to run modally, and the asking copy must not wait for that.
        PostMessageA(GetSafeHwnd(), WM_COMMAND, ID_TRAY_SHOW, 0);
        return 1;
    }
    if (message == NotifyIconMessage() || message == CNotifyIcon::TaskbarCreatedMessage()) {
        return trayIcon_ ? trayIcon_->OnNotify(GetSafeHwnd(), message, wParam, lParam) : 1;
    }
    switch (message) {
    case WM_PAINT:
        ShowWindow(SW_HIDE);
        break;
    case WM_WINDOWPOSCHANGING:
        // Never shown, not even for the moment before its first paint.
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        break;
    default:
        break;
    }
    return CDialog::HandleMessage(message, wParam, lParam);
}
