#include "app/ScanView.h"

#include "app/ResultsCommands.h"
#include "app/RowActions.h"
#include "engine/IssueList.h"
#include "framework/Resources.h"
#include "registry/RegistryValue.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>
#include <memory>

namespace {

struct ColumnSpec {
    const char* header;
    int width;
};

constexpr ColumnSpec kColumns[] = {{"Name", 80}, {"Description", 80}, {"Type", 80}, {"Action", 80}};

// The list's commands that belong to the main window.
struct MainWindowCommand {
    UINT id;
    void (ResultsCommands::*action)();
};

constexpr MainWindowCommand kMainWindowCommands[] = {
    {ID_LIST_REPAIR, &ResultsCommands::Repair},       {ID_LIST_CLOSE, &ResultsCommands::EndMainWindow},
    {ID_LIST_START_SCAN, &ResultsCommands::StartScan}, {ID_LIST_STOP_SCAN, &ResultsCommands::StopScan},
    {ID_LIST_HELP, &ResultsCommands::OpenHelp},       {ID_ROW_IGNORE, &ResultsCommands::IgnoreSelected},
};

constexpr UINT kRowCommands[] = {ID_ROW_OPEN_REGEDIT, ID_ROW_OPEN_FOLDER, ID_ROW_COPY_PATH, ID_ROW_IGNORE};

// The registry key a target is or lies in; empty for a target on disk.
std::string KeyPathOf(RepairTarget* target)
{
    if (!target) {
        return {};
    }
    if (RegistryKey* key = target->AsRegistryKey()) {
        return key->FullPath();
    }
    const RegistryValue* value = target->AsRegistryValue();
    return value && value->Key() ? value->Key()->FullPath() : std::string();
}

void Tell(HWND owner, const std::string& text)
{
    MessageBoxA(owner, text.c_str(), "Corvadin", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

CScanView::~CScanView()
{
    // Destroyed here, so that the rows' records are freed by this object's own handler.
    DestroyWindow();
}

void CScanView::OnInitialUpdate()
{
    const CListCtrl list = GetListCtrl();
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES);
    int index = 0;
    for (const ColumnSpec& column : kColumns) {
        list.InsertColumn(index++, column.header, LVCFMT_LEFT, column.width);
    }
}

bool CScanView::OnCommand(UINT id, UINT code, HWND control)
{
    switch (id) {
    case ID_LIST_TOGGLE_TICK:
        ToggleSelectedTick();
        return true;
    case ID_LIST_TICK_ALL:
        TickAll();
        return true;
    case ID_LIST_NOTHING:
        return true;
    case ID_ROW_OPEN_REGEDIT:
    case ID_ROW_OPEN_FOLDER:
    case ID_ROW_COPY_PATH:
        RunRowCommand(id);
        return true;
    default:
        break;
    }
    for (const MainWindowCommand& command : kMainWindowCommands) {
        if (command.id == id) {
            if (mainWindow_) {
                (mainWindow_->*command.action)();
            }
            return true;
        }
    }
    return CListView::OnCommand(id, code, control);
}

int CScanView::InsertIssue(int position, ScanIssue& issue, const std::string& scannerName, int category)
{
    const CListCtrl list = GetListCtrl();
    // The record goes in with the row, so that no row is ever without one and no record without its row.
    RepairTarget* target = issue.Target();
    auto record = std::make_unique<ResultRow>(ResultRow{category, &issue, target ? target->FullPath() : std::string(),
                                                        KeyPathOf(target), issue.Kind() == FileIssue, issue.Name(),
                                                        issue.Description(), scannerName});
    const int row = list.InsertCallbackItem(position, static_cast<int>(std::size(kColumns)),
                                            reinterpret_cast<LPARAM>(record.get()));
    if (row < 0) {
        return -1;
    }
    record.release();
    list.SetCheck(row, true);
    return row;
}

int CScanView::InsertIssues(const IssueList& issues, const std::string& scannerName, int category)
{
    const ListRedrawHold hold(GetListCtrl());
    int inserted = 0;
    for (int j = 0; j < issues.Count(); ++j) {
        if (ScanIssue* issue = issues.At(j); issue && InsertIssue(inserted, *issue, scannerName, category) >= 0) {
            ++inserted;
        }
    }
    return inserted;
}

int CScanView::RowCount() const noexcept
{
    return GetListCtrl().GetItemCount();
}

ResultRow* CScanView::RowData(int row) const noexcept
{
    return reinterpret_cast<ResultRow*>(GetListCtrl().GetItemData(row));
}

bool CScanView::IsTicked(int row) const noexcept
{
    return GetListCtrl().GetCheck(row);
}

void CScanView::SetTicked(int row, bool ticked) const noexcept
{
    GetListCtrl().SetCheck(row, ticked);
}

void CScanView::SetAction(int row, const std::string& text) const
{
    if (ResultRow* record = RowData(row)) {
        record->action = text;
        GetListCtrl().RedrawItems(row, row);
    }
}

std::string CScanView::Text(int row, Column column) const
{
    return GetListCtrl().GetItemText(row, column);
}

void CScanView::TickAll() const noexcept
{
    const CListCtrl list = GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        list.SetCheck(row, true);
    }
}

void CScanView::ToggleSelectedTick() const noexcept
{
    const CListCtrl list = GetListCtrl();
    if (list.GetItemCount() == 0) {
        return;
    }
    const int selected = list.GetNextItem(-1, LVNI_SELECTED);
    if (selected >= 0) {
        list.SetCheck(selected, !list.GetCheck(selected));
    }
}

void CScanView::ClearResults() noexcept
{
    const ListRedrawHold hold(GetListCtrl());
    FreeRowData();
    GetListCtrl().DeleteAllItems();
}

std::optional<LRESULT> CScanView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTEXTMENU:
        // Kept here: the window behind the list has no menu of its own.
        ShowRowMenu(lParam);
        return 0;
    case WM_DESTROY:
        FreeRowData();
        break;
    default:
        break;
    }
    return CListView::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> CScanView::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_GETDISPINFOA) {
        SupplyText(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return 0;
    }
    return CListView::HandleReflected(message, wParam, lParam);
}

void CScanView::SupplyText(NMLVDISPINFOA& request) const noexcept
{
    LVITEMA& item = request.item;
    const ResultRow* record = RowData(item.iItem);
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 || !record) {
        return;
    }
    const std::string* texts[] = {&record->name, &record->description, &record->type, &record->action};
    const bool known = item.iSubItem >= 0 && item.iSubItem < static_cast<int>(std::size(texts));
    lstrcpynA(item.pszText, known ? texts[item.iSubItem]->c_str() : "", item.cchTextMax);
}

void CScanView::FreeRowData() noexcept
{
    const CListCtrl list = GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        delete reinterpret_cast<ResultRow*>(list.GetItemData(row));
        list.SetItemData(row, 0);
    }
}

std::vector<int> CScanView::SelectedRows() const
{
    const CListCtrl list = GetListCtrl();
    std::vector<int> rows;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

int CScanView::FocusedRow() const noexcept
{
    const CListCtrl list = GetListCtrl();
    const int focused = list.GetNextItem(-1, LVNI_FOCUSED);
    return focused >= 0 && (list.GetItemState(focused, LVIS_SELECTED) & LVIS_SELECTED)
               ? focused
               : list.GetNextItem(-1, LVNI_SELECTED);
}

const ResultRow* CScanView::FocusedRecord() const noexcept
{
    const int row = FocusedRow();
    return row >= 0 ? RowData(row) : nullptr;
}

bool CScanView::RowCommandApplies(UINT id) const
{
    const ResultRow* focused = FocusedRecord();
    switch (id) {
    case ID_ROW_OPEN_REGEDIT:
        return focused && !focused->keyPath.empty();
    case ID_ROW_OPEN_FOLDER:
        return focused && focused->isFile && !focused->path.empty();
    default:
        break;
    }
    for (const int row : SelectedRows()) {
        const ResultRow* record = RowData(row);
        if (record && (id == ID_ROW_COPY_PATH ? !record->path.empty() : id == ID_ROW_IGNORE && record->issue)) {
            return true;
        }
    }
    return false;
}

void CScanView::ShowRowMenu(LPARAM where)
{
    const int focused = FocusedRow();
    if (focused < 0) {
        return;
    }
    POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (at.x == -1 && at.y == -1) {
        RECT label{};
        label.left = LVIR_LABEL;
        ::SendMessageA(GetSafeHwnd(), LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&label));
        at = {label.left, label.bottom};
        ClientToScreen(GetSafeHwnd(), &at);
    }
    const UniqueMenu menu = LoadMenuResource(IDR_ROW_MENU);
    const HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) {
        return;
    }
    for (const UINT id : kRowCommands) {
        EnableMenuItem(popup, id, MF_BYCOMMAND | (RowCommandApplies(id) ? MF_ENABLED : MF_GRAYED));
    }
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, GetSafeHwnd(), nullptr));
    if (chosen != 0) {
        OnCommand(chosen, 0, nullptr);
    }
}

void CScanView::RunRowCommand(UINT id)
{
    if (!RowCommandApplies(id)) {
        return;
    }
    const ResultRow* focused = FocusedRecord();
    switch (id) {
    case ID_ROW_OPEN_REGEDIT:
        if (!OpenInRegistryEditor(focused->keyPath)) {
            Tell(GetSafeHwnd(), "The Registry Editor could not be started.");
        }
        break;
    case ID_ROW_OPEN_FOLDER:
        if (!ShowInFolder(GetSafeHwnd(), focused->path)) {
            Tell(GetSafeHwnd(), "The folder of " + focused->path + " could not be shown: it no longer exists.");
        }
        break;
    case ID_ROW_COPY_PATH:
        CopyPaths();
        break;
    default:
        break;
    }
}

void CScanView::CopyPaths() const
{
    std::string text;
    for (const int row : SelectedRows()) {
        const ResultRow* record = RowData(row);
        if (record && !record->path.empty()) {
            text += (text.empty() ? "" : "\r\n") + record->path;
        }
    }
    if (!CopyToClipboard(GetSafeHwnd(), text)) {
        Tell(GetSafeHwnd(), "The path could not be copied: another program holds the clipboard.");
    }
}
