// CHiddenDlg: the program's invisible top-level window ("zintavodlg"). Its modal run lasts as long as the program;
// it keeps the tray icon, runs the main window on demand, and answers a second copy's request to show it.
#pragma once

#include "app/MainDialog.h"
#include "app/NotifyIcon.h"
#include "framework/Dialog.h"

#include <memory>

class CHiddenDlg : public CDialog {
public:
    static constexpr const char* kCaption = "zintavodlg";

    CHiddenDlg();

    // "/scannow": closing the main window ends the program.
    void SetExitOnClose(bool exitOnClose) noexcept { exitOnClose_ = exitOnClose; }
    // Runs the main window modally when it has no window (returning when it closes), or brings it up.
    void ShowMainWindow();
    // Stops a running scan and waits for it, then ends the main window and this window's run.
    void ExitProgram();

    CMainDialog& MainWindow() noexcept { return *mainWindow_; }
    // Null before the window is made.
    CNotifyIcon* TrayIcon() noexcept { return trayIcon_.get(); }

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<CNotifyIcon> trayIcon_;
    // Declared after the tray icon, so that it goes first as the program ends.
    std::unique_ptr<CMainDialog> mainWindow_;
    bool exitOnClose_ = false;
};
