#include "ui/PopUp.h"

#include "framework/Dpi.h"
#include "registry/OperationLog.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "ui/CounterLayout.h"

#include <mmsystem.h>

#include <algorithm>

namespace {

// The primary monitor's desktop without the taskbar, wherever the taskbar stands.
RECT WorkArea() noexcept
{
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || IsRectEmpty(&work)) {
        GetWindowRect(GetDesktopWindow(), &work);
    }
    return work;
}

// Between the total and the Repair button.
constexpr CounterArea PopUpCounters = {{6, 24, 165, 164}, 20, 8, 10};

}  // namespace

CPopUp::CPopUp() noexcept : CSkinDialog(IDD_POPUP) {}

void CPopUp::Present()
{
    if (!IsCreated() && !Create()) {
        OperationLog::Write("The pop-up notifier could not be created.");
        return;
    }
    ShowAtTheCorner();
}

void CPopUp::DestroyIfVisible()
{
    if (IsCreated() && IsWindowVisible(GetSafeHwnd())) {
        DestroyWindow();
    }
}

void CPopUp::SetRepairHandler(std::function<void()> handler)
{
    repairHandler_ = std::move(handler);
}

RECT CPopUp::Placement(const RECT& workArea, UINT dpi) noexcept
{
    const LONG width = Scaled(kWidth, dpi);
    const LONG height = Scaled(kHeight, dpi);
    const LONG left = std::max(workArea.left, workArea.right - width);
    const LONG top = std::max(workArea.top, workArea.bottom - height);
    return {left, top, left + width, top + height};
}

void CPopUp::SetSoundFile(std::string path)
{
    soundFile_ = std::move(path);
}

BOOL CPopUp::OnInitDialog()
{
    const HWND self = GetSafeHwnd();
    for (size_t i = 0; i < ErrorCounterCount; ++i) {
        labels_[i].SubclassDlgItem(CounterLabelId(static_cast<int>(i)), self);
        // One text line high: a wrapped remainder could only push the visible words out of sight.
        labels_[i].SetFormat(DT_SINGLELINE | DT_LEFT);
        CTransparentStatic& counter = counters_[i];
        counter.SubclassDlgItem(CounterId(static_cast<int>(i)), self);
        counter.SetColour(255, 255, 255);
        counter.SetFormat(CTransparentStatic::kOneLineRight);
        counter.SetWeight(i == 0 ? FW_BOLD : FW_NORMAL);
    }
    SetBackground(IDB_POPUP_BACKGROUND);
    PlaceDialogControlsForDpi(self, WindowDpi(self));
    repair_.SubclassDlgItem(IDC_REPAIR_LOWER, self);
    repair_.SetDpi(WindowDpi(self));
    repair_.SetBitmaps(IDB_REPAIR_SMALL_NORMAL, IDB_REPAIR_SMALL_PRESSED, IDB_REPAIR_SMALL_HOVER,
                       IDB_REPAIR_SMALL_DISABLED);
    return TRUE;
}

void CPopUp::OnOK()
{
    OnCancel();
}

void CPopUp::OnCancel()
{
    // Comes back as a reminder until a repair has been run.
    reminderTimer_ = SetTimer(kReminderTimerId, kReminderPeriod);
    CSkinDialog::OnCancel();
}

bool CPopUp::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_REPAIR_LOWER && code == BN_CLICKED) {
        OnRepair();
        return true;
    }
    return CSkinDialog::OnCommand(id, code, control);
}

std::optional<LRESULT> CPopUp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == kReminderTimerId) {
            OnReminder();
            return 0;
        }
        break;
    case WM_DPICHANGED: {
        // The template's controls follow their font; the skin and the button's faces follow here.
        SetBackground(IDB_POPUP_BACKGROUND);
        repair_.SetDpi(LOWORD(wParam));
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(GetSafeHwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        // The timer goes with the window.
        reminderTimer_ = 0;
        break;
    default:
        break;
    }
    return CSkinDialog::HandleMessage(message, wParam, lParam);
}

void CPopUp::PlayNotifySound(const std::string& path)
{
    // Without SND_NODEFAULT a missing file would play the system's default sound instead of nothing.
    PlaySoundA(path.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

void CPopUp::ShowAtTheCorner()
{
    // Refreshed on every showing: a window hidden since an earlier scan would otherwise show that scan's counts.
    ShowCounts();
    repair_.EnableWindow(TheScanResults().errorCounters[0] > 0);
    const RECT place = Placement(WorkArea(), WindowDpi(GetSafeHwnd()));
    SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
    ShowWindow(SW_SHOW);
    PlayNotifySound(soundFile_);
}

void CPopUp::ShowCounts()
{
    for (size_t i = 0; i < ErrorCounterCount; ++i) {
        counters_[i].SetWindowText(CounterText(TheScanResults(), static_cast<int>(i)));
    }
    // Only the categories with findings: the window is small, and the rest say nothing the total does not.
    std::array<bool, CategoryCount> found{};
    for (size_t i = 0; i < found.size(); ++i) {
        found[i] = TheScanResults().errorCounters[i + 1] > 0;
    }
    LayOutCounters(GetSafeHwnd(), PopUpCounters, found);
}

void CPopUp::OnReminder()
{
    KillReminder();
    if (!TheScanResults().repairRun) {
        ShowAtTheCorner();
    }
}

void CPopUp::OnRepair()
{
    KillReminder();
    if (repairHandler_) {
        repairHandler_();
    }
    // The handler may have destroyed the window already (the main window's repair does when it is visible).
    DestroyWindow();
}

void CPopUp::KillReminder() noexcept
{
    if (reminderTimer_) {
        KillTimer(reminderTimer_);
        reminderTimer_ = 0;
    }
}

CPopUp& ThePopUp()
{
    static CPopUp popUp;
    return popUp;
}
