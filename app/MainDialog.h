// CMainDialog: the window the user works with. It starts and stops scans, shows each scanner's results as they
// arrive, repairs the ticked rows, and closes to the tray. The object lives for the whole program; its window is
// made each time the hidden owner runs it and goes when the run ends.
#pragma once

#include "app/MainWindowLayout.h"
#include "app/MainWindowSkin.h"
#include "app/ResultsCommands.h"
#include "app/ResultsFrame.h"
#include "app/ScanWorker.h"
#include "app/WindowProgressSink.h"
#include "engine/ScanResults.h"
#include "app/WindowMemory.h"
#include "framework/Dpi.h"
#include "framework/GdiHandles.h"
#include "ui/SkinDialog.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class RepairJournal;
class MainWindowControls;

class CMainDialog : public CSkinDialog, public ResultsCommands {
public:
    static constexpr int kIdle = 0;
    static constexpr int kScanning = 1;
    // Added to the state by a stop request; the state reads as Stopping until the scan has ended.
    static constexpr int kStopRequested = 0x8000;
    static constexpr UINT_PTR kReminderTimerId = 1;
    static constexpr UINT kReminderPeriod = 300000;
    // While a scan runs: shows the progress its worker noted.
    static constexpr UINT_PTR kProgressTimerId = 2;

    // owner: the hidden window whose modal run is the program's; closing in exit-on-close mode ends it too.
    explicit CMainDialog(CDialog* owner = nullptr);
    // Waits for a scan still running: its session and progress sinks go with this object.
    ~CMainDialog() override;

    void StartScan() override;
    void StopScan() override;
    void Repair() override;
    void OpenHelp() override;
    void IgnoreSelected() override;
    void EndMainWindow() override;

    // Announces the end of a scan while the window is out of sight: the pop-up notifier and its sound.
    void ShowNotification();
    void ToggleLaunchAtStartup();
    // For the end of the program: asks a running scan to stop, waits until its worker has ended (its last results
    // still reach the window), then ends the window's modal run.
    void Shutdown();

    void SetExitOnClose(bool exitOnClose) noexcept { exitOnClose_ = exitOnClose; }
    bool ExitOnClose() const noexcept { return exitOnClose_; }
    int State() const noexcept { return state_; }
    bool IsWorkerRunning() const noexcept { return session_.IsRunning(); }
    // Null while the window does not exist.
    CScanView* View() const noexcept { return results_.View(); }

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    BOOL OnInitDialog() override;
    // The close box and Escape: to the tray, or out of the program in exit-on-close mode.
    void OnCancel() override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnScannerFinished(WPARAM index, const ScanEntry* entry);
    LRESULT OnScanFinished();
    void OnReminderTimer();
    void OnPaint();
    void OnDestroy();
    void UpdateControls();
    void EnableRepairButtons(bool enable) const noexcept;
    void ShowCounters() const;
    // Counters of no scan: 0, or off for the categories the stored choice leaves out.
    void ShowEmptyCounters() const;
    void RequestStop();
    // The current window's progress sink; null before the first window.
    ProgressSink* Sink() const noexcept;
    void RepairRow(int row, RepairJournal& run);
    // A worker that ended while no window was there to hear of it leaves the state at Scanning: put it right.
    void CollectEndedWorker();
    void TickAll() const noexcept;
    void SetIcons();
    // Sizes the window to its smallest size, centred, or to where the user left it on a screen still there.
    void PlaceWindow(const WindowMemory& memory);
    void RememberWindow() const;
    // Fonts, art and layout for the window's DPI.
    void ApplyDpi(UINT dpi);
    void LayOut();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    SIZE SmallestWindow() const noexcept;

    CDialog* owner_;
    std::unique_ptr<MainWindowControls> controls_;
    ResultsFrame results_;
    int state_ = kIdle;
    bool exitOnClose_ = false;
    bool exiting_ = false;
    ScanSession session_{TheScanResults()};
    // The ids of the issues earlier repairs deleted, read when a scan starts: an issue found again came back.
    std::map<std::string, std::string> repaired_;
    WindowScanObserver observer_;
    // The current window's sink is the last; earlier ones stay while a scan that may hold one runs.
    std::vector<std::unique_ptr<WindowProgressSink>> sinks_;
    UINT_PTR reminderTimer_ = 0;
    UniqueIcon largeIcon_;
    UniqueIcon smallIcon_;
    UINT dpi_ = kDesignDpi;
    UniqueFont font_;
    int textHeight_ = 13;
    MainWindowSkin skin_;
    MainWindowLayout layout_;
};
