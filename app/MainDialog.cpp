#include "app/MainDialog.h"

#include "app/MainWindowControls.h"
#include "app/RestoreDlg.h"
#include "engine/IgnoreList.h"
#include "engine/RegistryScanner.h"
#include "engine/RepairAction.h"
#include "engine/ScannerList.h"
#include "repair/RepairRuns.h"
#include "framework/Resources.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "settings/SettingsDlg.h"
#include "settings/SettingsStore.h"
#include "settings/StartupOptions.h"
#include "ui/PopUp.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr const char* StoppingText = "Please wait, the scanner is being stopped.";

bool IsStopping(int state)
{
    return (state & CMainDialog::kStopRequested) != 0;
}

// The categories the stored choice leaves out of scans.
std::array<bool, CategoryCount> ChosenLeftOut()
{
    const std::string tags = ReadSettingString(LeftOutCategoriesName, "");
    std::array<bool, CategoryCount> leftOut{};
    for (size_t i = 0; i < leftOut.size(); ++i) {
        leftOut[i] = LeavesOut(tags, Categories()[i]);
    }
    return leftOut;
}

}  // namespace

CMainDialog::CMainDialog(CDialog* owner) : CSkinDialog(IDD_MAIN, owner), owner_(owner)
{
    ThePopUp().SetRepairHandler([this] { Repair(); });
}

CMainDialog::~CMainDialog()
{
    ThePopUp().SetRepairHandler(nullptr);
    session_.Wait();
}

BOOL CMainDialog::OnInitDialog()
{
    CollectEndedWorker();
    results_.Create(GetSafeHwnd(), this);
    controls_ = std::make_unique<MainWindowControls>();
    controls_->Bind(GetSafeHwnd());
    controls_->SetStatus("Idle");
    TakeOverDialogDpiChanges(GetSafeHwnd());
    ApplyDpi(WindowDpi(GetSafeHwnd()));
    const WindowMemory memory = LoadWindowMemory(HKEY_CURRENT_USER, SettingsKeyPath());
    if (CScanView* view = View()) {
        // Remembered in 96-DPI pixels; without any the columns share the list's width.
        std::vector<int> widths;
        for (const int width : memory.columnWidths) {
            widths.push_back(Scaled(width, dpi_));
        }
        view->SetColumnWidths(widths);
        if (memory.sortColumn >= 0) {
            view->SortBy(static_cast<CScanView::Column>(memory.sortColumn), memory.sortAscending);
        }
    }
    PlaceWindow(memory);
    UpdateControls();
    SetIcons();

    if (!session_.IsRunning()) {
        sinks_.clear();
    }
    sinks_.push_back(std::make_unique<WindowProgressSink>(GetDlgItem(GetSafeHwnd(), IDC_CURRENT_ITEM),
                                                          GetDlgItem(GetSafeHwnd(), IDC_PROGRESS)));
    observer_.SetWindow(GetSafeHwnd());
    // A new window starts with an empty list and counters that read 0 (or off); the last scan's counts stay, for
    // the pop-up and its reminder.
    ShowEmptyCounters();
    if (state_ != kIdle) {
        controls_->StartBusy();
    }
    ShowWindow(memory.maximised && memory.place && IsOnAScreen(*memory.place) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    if (!exitOnClose_ && TheStartupFlags().startupScan) {
        StartScan();
    }
    return TRUE;
}

SIZE CMainDialog::SmallestWindow() const noexcept
{
    const SIZE client{Scaled(kMainWindowMinClient.cx, dpi_), Scaled(kMainWindowMinClient.cy, dpi_)};
    return FrameSizeFor(client, GetStyle(), static_cast<DWORD>(GetWindowLongA(GetSafeHwnd(), GWL_EXSTYLE)), true,
                        dpi_);
}

void CMainDialog::PlaceWindow(const WindowMemory& memory)
{
    const SIZE smallest = SmallestWindow();
    if (memory.place && IsOnAScreen(*memory.place)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(GetSafeHwnd(), &placement);
        placement.rcNormalPosition = *memory.place;
        placement.rcNormalPosition.right = std::max(memory.place->right, memory.place->left + smallest.cx);
        placement.rcNormalPosition.bottom = std::max(memory.place->bottom, memory.place->top + smallest.cy);
        placement.showCmd = SW_HIDE;
        SetWindowPlacement(GetSafeHwnd(), &placement);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(GetSafeHwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        SetWindowPos(GetSafeHwnd(), nullptr, work.left + (work.right - work.left - smallest.cx) / 2,
                     work.top + (work.bottom - work.top - smallest.cy) / 2, smallest.cx, smallest.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayOut();
}

void CMainDialog::RememberWindow() const
{
    WindowMemory memory;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(GetSafeHwnd(), &placement)) {
        memory.place = placement.rcNormalPosition;
        memory.maximised = placement.showCmd == SW_SHOWMAXIMIZED || (placement.flags & WPF_RESTORETOMAXIMIZED);
    }
    if (const CScanView* view = View()) {
        for (const int width : view->ColumnWidthsChosen() ? view->ColumnWidths() : std::vector<int>()) {
            memory.columnWidths.push_back(MulDiv(width, static_cast<int>(kDesignDpi), static_cast<int>(dpi_)));
        }
        memory.sortColumn = view->SortColumn();
        memory.sortAscending = view->SortAscending();
    }
    SaveWindowMemory(HKEY_CURRENT_USER, SettingsKeyPath(), memory);
}

void CMainDialog::ApplyDpi(UINT dpi)
{
    dpi_ = dpi;
    font_ = MessageFont(dpi);
    const HWND window = GetSafeHwnd();
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    if (CScanView* view = View()) {
        ::SendMessageA(view->GetSafeHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    const HDC dc = GetDC(window);
    {
        SelectedObject selected(dc, font_.get());
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        textHeight_ = metrics.tmHeight > 0 ? metrics.tmHeight : Scaled(13, dpi);
    }
    ReleaseDC(window, dc);
    skin_.SetDpi(dpi);
    if (controls_) {
        controls_->SetDpi(dpi);
    }
}

void CMainDialog::LayOut()
{
    const RECT client = GetClientRect();
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    layout_ = LayOutMainWindow({client.right, client.bottom}, dpi_, textHeight_);
    const HWND window = GetSafeHwnd();
    for (const ControlPlace& place : layout_.controls) {
        MoveWindow(GetDlgItem(window, static_cast<int>(place.id)), place.rect.left, place.rect.top,
                   place.rect.right - place.rect.left, place.rect.bottom - place.rect.top, FALSE);
    }
    results_.PlaceOver(GetDlgItem(window, IDC_RESULTS_PLACEHOLDER));
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CMainDialog::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    CScanView* view = View();
    if (view && view->ColumnWidthsChosen()) {
        std::vector<int> widths = view->ColumnWidths();
        for (int& width : widths) {
            width = MulDiv(width, static_cast<int>(dpi), static_cast<int>(dpi_));
        }
        view->SetColumnWidths(widths);
    }
    ApplyDpi(dpi);
    SetWindowPos(GetSafeHwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

void CMainDialog::SetIcons()
{
    largeIcon_ = LoadIconResource(IDI_MAIN);
    smallIcon_ = LoadIconResource(IDI_MAIN, GetSystemMetrics(SM_CXSMICON));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
}

bool CMainDialog::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case IDC_START_SCAN:
        StartScan();
        return true;
    case IDC_STOP_SCAN:
        StopScan();
        return true;
    case IDC_REPAIR_ERRORS:
    case IDC_REPAIR_SELECTED:
    case IDC_REPAIR_LOWER:
    case ID_REPAIR_ROWS:
        Repair();
        return true;
    case IDC_SELECT_ALL:
    case ID_TICK_ALL_ROWS:
        TickAll();
        return true;
    case ID_LAUNCH_AT_STARTUP:
        ToggleLaunchAtStartup();
        return true;
    case ID_MENU_HELP:
    case ID_OPEN_HELP_PAGE:
        OpenHelp();
        return true;
    case ID_OPEN_RESTORE:
        CRestoreDlg(this).DoModal();
        return true;
    case ID_OPEN_SETTINGS:
        // Stands on its own, without an owner; its result is not needed, since the choices go to the registry.
        CSettingsDlg().DoModal();
        // Counters of no scan yet follow the choice of categories just made.
        if (state_ == kIdle && View() && View()->RowCount() == 0) {
            ShowEmptyCounters();
        }
        return true;
    default:
        return CSkinDialog::OnCommand(id, code, control);
    }
}

std::optional<LRESULT> CMainDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case ScannerFinishedMessage:
        return OnScannerFinished(wParam, reinterpret_cast<const ScanEntry*>(lParam));
    case ScanFinishedMessage:
        return OnScanFinished();
    case WM_TIMER:
        if (wParam == kReminderTimerId) {
            OnReminderTimer();
        } else if (wParam == kProgressTimerId && !sinks_.empty()) {
            sinks_.back()->ShowNoted();
        }
        break;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && controls_) {
            LayOut();
        }
        break;
    case WM_GETMINMAXINFO: {
        const SIZE smallest = SmallestWindow();
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {smallest.cx, smallest.cy};
        return 0;
    }
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND: {
        const RECT client = GetClientRect();
        skin_.Paint(reinterpret_cast<HDC>(wParam), client, layout_);
        return TRUE;
    }
    case WM_PAINT:
        if (TheStartupFlags().startHidden) {
            ShowWindow(SW_HIDE);
        }
        if (IsIconic(GetSafeHwnd())) {
            OnPaint();
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(largeIcon_.get());
    case WM_DESTROY:
        OnDestroy();
        break;
    default:
        break;
    }
    return CSkinDialog::HandleMessage(message, wParam, lParam);
}

void CMainDialog::OnPaint()
{
    PaintDc paint(GetSafeHwnd());
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()));
    const RECT client = GetClientRect();
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.get(), x, y, largeIcon_.get());
}

void CMainDialog::OnDestroy()
{
    RememberWindow();
    observer_.SetWindow(nullptr);
    results_.Destroy();
    controls_.reset();
}

void CMainDialog::StartScan()
{
    CollectEndedWorker();
    if (state_ != kIdle || !controls_) {
        return;
    }
    ThePopUp().DestroyIfVisible();
    session_.ClearResults();
    if (CScanView* view = View()) {
        view->ClearResults();
    }
    const auto leftOut = ChosenLeftOut();
    TheScanResults().leftOut = leftOut;
    ShowCounters();
    state_ = kScanning;
    UpdateControls();
    session_.SetIgnoreList(IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath()));
    repaired_ = RepairedIssueDates(".");
    session_.Prepare(CreateScannerList(), Sink(), [leftOut](const RegistryScanner& scanner) {
        for (size_t i = 0; i < leftOut.size(); ++i) {
            if (scanner.Name() == Categories()[i].name) {
                return !leftOut[i];
            }
        }
        return true;
    });
    controls_->SetStatus("Scanning");
    controls_->StartBusy();
    if (!session_.Start(observer_)) {
        MessageBoxA(GetSafeHwnd(), "Failed to start the scan.", "Corvadin", MB_OK | MB_ICONERROR);
        controls_->StopBusy();
        state_ = kIdle;
        UpdateControls();
        return;
    }
    SetTimer(kProgressTimerId, WindowProgressSink::ShowInterval);
}

ProgressSink* CMainDialog::Sink() const noexcept
{
    return sinks_.empty() ? nullptr : sinks_.back().get();
}

void CMainDialog::StopScan()
{
    if (state_ == kIdle) {
        return;
    }
    TheStartupFlags().startupScan = false;
    RequestStop();
}

void CMainDialog::RequestStop()
{
    state_ |= kStopRequested;
    UpdateControls();
    session_.RequestStop();
}

LRESULT CMainDialog::OnScannerFinished(WPARAM index, const ScanEntry* entry)
{
    if (!entry || !entry->issues || index + 1 >= ErrorCounterCount) {
        return 1;
    }
    const int n = entry->issues->Count();
    MarkCameBack(*entry->issues, repaired_);
    session_.CountFound(index, n);
    if (controls_) {
        controls_->ShowCounter(static_cast<int>(index) + 1, TheScanResults());
        controls_->ShowCounter(0, TheScanResults());
    }
    CScanView* view = View();
    if (!view) {
        return 1;
    }
    view->InsertIssues(*entry->issues, entry->scanner ? entry->scanner->Name() : std::string(),
                       static_cast<int>(index));
    RedrawWindow(view->GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    return 1;
}

LRESULT CMainDialog::OnScanFinished()
{
    TheStartupFlags().startupScan = false;
    TheScanResults().notificationPending = true;
    if (!IsWindowVisible(GetSafeHwnd()) && !exiting_) {
        ShowNotification();
    }
    KillTimer(kProgressTimerId);
    if (controls_) {
        controls_->StopBusy();
        SendDlgItemMessageA(GetSafeHwnd(), IDC_PROGRESS, PBM_SETPOS, 0, 0);
        controls_->SetStatus("Idle");
        controls_->SetCurrentItem("");
        controls_->ShowCounter(0, TheScanResults());
    }
    state_ = kIdle;
    UpdateControls();
    const CScanView* view = View();
    EnableRepairButtons(view && view->RowCount() > 0);
    return 1;
}

void CMainDialog::CollectEndedWorker()
{
    if (session_.ReleaseEnded() && state_ != kIdle) {
        state_ = kIdle;
        TheStartupFlags().startupScan = false;
    }
}

void CMainDialog::UpdateControls()
{
    if (!controls_) {
        return;
    }
    const bool idle = state_ == kIdle;
    const bool scanning = !idle && !IsStopping(state_);
    controls_->Enable(IDC_START_SCAN, idle);
    controls_->Enable(IDC_STOP_SCAN, scanning);
    controls_->Enable(IDC_SELECT_ALL, idle);
    EnableRepairButtons(false);
    if (idle) {
        controls_->SetStatus("Idle");
        controls_->SetCurrentItem("");
    } else if (scanning) {
        controls_->SetStatus("Scanning");
    } else {
        controls_->SetStatus("Stopping");
        controls_->SetCurrentItem(StoppingText);
    }
    CheckMenuItem(GetMenu(GetSafeHwnd()), ID_LAUNCH_AT_STARTUP,
                  MF_BYCOMMAND | (TheStartupFlags().launchAtSystemStart ? MF_CHECKED : MF_UNCHECKED));
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CMainDialog::EnableRepairButtons(bool enable) const noexcept
{
    if (controls_) {
        for (UINT id : {IDC_REPAIR_ERRORS, IDC_REPAIR_SELECTED, IDC_REPAIR_LOWER}) {
            controls_->Enable(id, enable);
        }
    }
}

void CMainDialog::ShowCounters() const
{
    if (controls_) {
        controls_->ShowCounters(TheScanResults());
    }
}

void CMainDialog::ShowEmptyCounters() const
{
    if (controls_) {
        ScanResults empty;
        empty.leftOut = ChosenLeftOut();
        controls_->ShowCounters(empty);
    }
}

void CMainDialog::Repair()
{
    ThePopUp().DestroyIfVisible();
    TheScanResults().repairRun = true;
    const CScanView* view = View();
    if (!view) {
        return;
    }
    // One record of the run beside its backups, so that the whole run can be undone in one step.
    RepairRun run;
    // The count is read again each time: a row is never removed, but nothing here relies on it.
    for (int row = 0; row < view->RowCount(); ++row) {
        if (view->IsTicked(row)) {
            RepairRow(row, run);
        }
    }
    if (!run.Finish()) {
        MessageBoxA(GetSafeHwnd(), run.IncompleteText().c_str(), "Corvadin", MB_OK | MB_ICONWARNING);
    }
}

void CMainDialog::RepairRow(int row, RepairJournal& run)
{
    const CScanView* view = View();
    ResultRow* record = view->RowData(row);
    if (!record || !record->issue) {
        return;
    }
    RepairAction* action = CreateRepairAction();
    if (!action) {
        view->SetAction(row, "Failed");
    } else {
        action->SetProgress(Sink());
        action->SetJournal(&run);
        if (action->Fix(record->issue)) {
            view->SetAction(row, "Fixed");
            session_.CountRepaired(record->category);
            ShowCounters();
        } else {
            view->SetAction(row, "Failed");
        }
    }
    // A row is repaired at most once.
    record->issue = nullptr;
}

void CMainDialog::IgnoreSelected()
{
    const CScanView* view = View();
    if (!view) {
        return;
    }
    IgnoreList ignored = IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath());
    bool refused = false;
    for (const int row : view->SelectedRows()) {
        ResultRow* record = view->RowData(row);
        if (!record || !record->issue || record->category < 0 || record->category >= CategoryCount) {
            continue;
        }
        if (!ignored.Add(IgnoreList::EntryFor(Categories()[static_cast<size_t>(record->category)].name,
                                              *record->issue))) {
            refused = true;
            continue;
        }
        // Like a repaired row: listed, unticked, never repaired, no longer counted.
        view->SetAction(row, "Ignored");
        view->SetTicked(row, false);
        record->issue = nullptr;
        session_.CountRepaired(record->category);
    }
    ShowCounters();
    if (refused) {
        MessageBoxA(GetSafeHwnd(),
                    "Some entries could not be added to the ignore list: changing it needs administrator rights.",
                    "Corvadin", MB_OK | MB_ICONWARNING);
    }
}

void CMainDialog::TickAll() const noexcept
{
    if (const CScanView* view = View()) {
        view->TickAll();
    }
}

void CMainDialog::OpenHelp()
{
    ShowHelpPage(GetSafeHwnd(), HelpPageAddress(IDS_HELP_CONTEXT));
}

void CMainDialog::EndMainWindow()
{
    EndDialog(0);
}

void CMainDialog::OnCancel()
{
    if (exitOnClose_) {
        Shutdown();
        if (owner_) {
            owner_->EndDialog(IDCANCEL);
        }
        return;
    }
    reminderTimer_ = SetTimer(kReminderTimerId, kReminderPeriod);
    if (IsIconic(GetSafeHwnd())) {
        EndDialog(IDCANCEL);
    } else {
        ShowWindow(SW_HIDE);
    }
}

void CMainDialog::OnReminderTimer()
{
    ScanResults& results = TheScanResults();
    if (!results.notificationPending) {
        return;
    }
    results.notificationPending = false;
    if (!IsWindowVisible(GetSafeHwnd())) {
        ShowNotification();
    }
    KillTimer(reminderTimer_);
    reminderTimer_ = 0;
}

void CMainDialog::Shutdown()
{
    exiting_ = true;
    if (state_ != kIdle) {
        RequestStop();
    }
    session_.Wait();
    CollectEndedWorker();
    if (IsWindow()) {
        EndDialog(IDCANCEL);
    }
}

void CMainDialog::ShowNotification()
{
    ThePopUp().SetSoundFile(ProgramFolder() + "Sound\\notify.wav");
    ThePopUp().Present();
}

void CMainDialog::ToggleLaunchAtStartup()
{
    StartupFlags& flags = TheStartupFlags();
    flags.launchAtSystemStart = SetLaunchAtStartup(!flags.launchAtSystemStart);
    CheckMenuItem(GetMenu(GetSafeHwnd()), ID_LAUNCH_AT_STARTUP,
                  MF_BYCOMMAND | (flags.launchAtSystemStart ? MF_CHECKED : MF_UNCHECKED));
}
