#include "app/ScanView.h"

#include "engine/IssueDetails.h"
#include "app/ResultsCommands.h"
#include "app/RowActions.h"
#include "engine/IssueList.h"
#include "framework/Resources.h"
#include "registry/RegistryValue.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// Width in 96-DPI pixels, and the part of the list's width the column takes until the user sizes the columns.
struct ColumnSpec {
    const char* header;
    int width;
    int percent;
};

constexpr ColumnSpec kColumns[] = {
    {"Name", 130, 26}, {"Description", 170, 36}, {"Type", 80, 15}, {"Grade", 50, 11}, {"Action", 60, 12}};

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

constexpr UINT kRowCommands[] = {ID_ROW_OPEN_REGEDIT, ID_ROW_OPEN_FOLDER, ID_ROW_COPY_PATH, ID_ROW_COPY_DETAILS,
                                 ID_ROW_IGNORE};

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

// What a person recognises an entry by: a value's name, a key's or a file's last part, and the view mark.
std::string OwnNameOf(RepairTarget& target)
{
    std::string name;
    if (const RegistryValue* value = target.AsRegistryValue()) {
        name = value->Name().empty() ? "(Default)" : value->Name();
    } else if (const RegistryKey* key = target.AsRegistryKey()) {
        name = key->Name();
    } else {
        std::string path = target.FullPath();
        while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) {
            path.pop_back();
        }
        const size_t slash = path.find_last_of("\\/");
        name = slash == std::string::npos ? path : path.substr(slash + 1);
    }
    return name + ViewMark(target.View());
}

std::unique_ptr<ResultRow> RecordOf(ScanIssue& issue, const std::string& scannerName, int category)
{
    RepairTarget* target = issue.Target();
    auto record = std::make_unique<ResultRow>(ResultRow{category, &issue, target ? target->FullPath() : std::string(),
                                                        KeyPathOf(target), issue.Kind() == FileIssue,
                                                        target ? target->FullPath() + ViewMark(target->View())
                                                               : issue.Name(),
                                                        target ? OwnNameOf(*target) : issue.Name(),
                                                        issue.Description(), scannerName,
                                                        GradeName(issue.GetGrade())});
    record->ticked = issue.GetGrade() != Grade::Expert;
    return record;
}

const std::string& ColumnText(const ResultRow& record, int column)
{
    const std::string* texts[] = {&record.name, &record.description, &record.type, &record.grade, &record.action};
    static const std::string none;
    return column >= 0 && column < static_cast<int>(std::size(texts)) ? *texts[column] : none;
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
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES | LVS_EX_INFOTIP);
    // The ticks are the records', like the texts.
    list.SetCallbackMask(LVIS_STATEIMAGEMASK);
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
    case ID_ROW_COPY_DETAILS:
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
    std::vector<std::unique_ptr<ResultRow>> records;
    records.push_back(RecordOf(issue, scannerName, category));
    return InsertRecords(position, std::move(records));
}

int CScanView::InsertIssues(const IssueList& issues, const std::string& scannerName, int category)
{
    std::vector<std::unique_ptr<ResultRow>> records;
    records.reserve(static_cast<size_t>(issues.Count()));
    for (int j = 0; j < issues.Count(); ++j) {
        if (ScanIssue* issue = issues.At(j)) {
            records.push_back(RecordOf(*issue, scannerName, category));
        }
    }
    const int count = static_cast<int>(records.size());
    return InsertRecords(0, std::move(records)) < 0 ? 0 : count;
}

void CScanView::Resort()
{
    if (sortColumn_ >= 0) {
        SortBy(static_cast<Column>(sortColumn_), sortAscending_);
    }
}

std::vector<int> CScanView::ColumnWidths() const
{
    std::vector<int> widths;
    for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
        widths.push_back(static_cast<int>(::SendMessageA(GetSafeHwnd(), LVM_GETCOLUMNWIDTH, column, 0)));
    }
    return widths;
}

void CScanView::SetColumnWidths(const std::vector<int>& widths)
{
    widthsChosen_ = widthsChosen_ || !widths.empty();
    const size_t count = std::min(widths.size(), std::size(kColumns));
    for (size_t column = 0; column < count; ++column) {
        ::SendMessageA(GetSafeHwnd(), LVM_SETCOLUMNWIDTH, column, widths[column]);
    }
}

int CScanView::InsertRecords(int position, std::vector<std::unique_ptr<ResultRow>> records)
{
    const CListCtrl list = GetListCtrl();
    if (!list.IsWindow() || position < 0) {
        return -1;
    }
    position = std::min(position, RowCount());
    const int count = static_cast<int>(records.size());
    const auto moved = [&](int row) { return row >= position ? row + count : row; };
    // The list keeps its selection by row number: the marks on the rows below move down with them, from the bottom
    // up so that no mark lands on one not yet moved.
    const std::vector<int> selected = SelectedRows();
    const int focused = list.GetNextItem(-1, LVNI_FOCUSED);
    const int mark = list.GetSelectionMark();
    rows_.insert(rows_.begin() + position, std::make_move_iterator(records.begin()),
                 std::make_move_iterator(records.end()));
    list.SetItemCount(RowCount());
    for (auto row = selected.rbegin(); row != selected.rend() && *row >= position; ++row) {
        list.SetItemState(*row, 0, LVIS_SELECTED);
        list.SetItemState(moved(*row), LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= position) {
        list.SetItemState(moved(focused), LVIS_FOCUSED, LVIS_FOCUSED);
    }
    if (mark >= position) {
        list.SetSelectionMark(moved(mark));
    }
    // Rows of a sorted list go where the order puts them; the position then only says where they came in.
    Resort();
    return position;
}

int CScanView::RowCount() const noexcept
{
    return static_cast<int>(rows_.size());
}

ResultRow* CScanView::RowData(int row) const noexcept
{
    return row >= 0 && row < RowCount() ? rows_[static_cast<size_t>(row)].get() : nullptr;
}

bool CScanView::IsTicked(int row) const noexcept
{
    const ResultRow* record = RowData(row);
    return record && record->ticked;
}

void CScanView::SetTicked(int row, bool ticked) const noexcept
{
    if (ResultRow* record = RowData(row)) {
        record->ticked = ticked;
        GetListCtrl().RedrawItems(row, row);
    }
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
    for (const auto& record : rows_) {
        record->ticked = record->ticked || !record->issue || record->issue->GetGrade() != Grade::Expert;
    }
    GetListCtrl().RedrawItems(0, RowCount() - 1);
}

void CScanView::ToggleSelectedTick() const noexcept
{
    const int selected = GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
    if (selected >= 0) {
        SetTicked(selected, !IsTicked(selected));
    }
}

void CScanView::SortBy(Column column, bool ascending)
{
    const CListCtrl list = GetListCtrl();
    // The list marks rows by number: the marks are taken off, and put back on the same records once sorted.
    std::vector<const ResultRow*> selected;
    for (const int row : SelectedRows()) {
        selected.push_back(RowData(row));
        list.SetItemState(row, 0, LVIS_SELECTED);
    }
    const ResultRow* focused = RowData(list.GetNextItem(-1, LVNI_FOCUSED));
    std::stable_sort(rows_.begin(), rows_.end(), [column, ascending](const auto& a, const auto& b) {
        const int order = lstrcmpiA(ColumnText(*a, column).c_str(), ColumnText(*b, column).c_str());
        return ascending ? order < 0 : order > 0;
    });
    sortColumn_ = column;
    sortAscending_ = ascending;
    for (int row = 0; row < RowCount(); ++row) {
        const ResultRow* record = rows_[static_cast<size_t>(row)].get();
        if (std::find(selected.begin(), selected.end(), record) != selected.end()) {
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        }
        if (record == focused) {
            list.SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
        }
    }
    list.RedrawItems(0, RowCount() - 1);
}

std::string CScanView::FocusedDetails() const
{
    const ResultRow* record = FocusedRecord();
    if (!record) {
        return {};
    }
    return record->issue ? IssueDetails(*record->issue)
                          : record->fullName + "\r\n" + record->description + "\r\nAction: " + record->action;
}

void CScanView::ClearResults() noexcept
{
    rows_.clear();
    GetListCtrl().DeleteAllItems();
    ShowDetails();
}

void CScanView::FitColumns() const
{
    RECT client{};
    if (widthsChosen_ || !::GetClientRect(GetSafeHwnd(), &client)) {
        return;
    }
    // Less a scroll bar's width, so that a long list needs no sideways scrolling.
    const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (size_t column = 0; column < std::size(kColumns); ++column) {
        ::SendMessageA(GetSafeHwnd(), LVM_SETCOLUMNWIDTH, column, std::max(1, width * kColumns[column].percent / 100));
    }
}

std::optional<LRESULT> CScanView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
        // The header's: a column the user sized keeps its width from then on.
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case HDN_ENDTRACKA:
        case HDN_ENDTRACKW:
        case HDN_DIVIDERDBLCLICKA:
        case HDN_DIVIDERDBLCLICKW:
            widthsChosen_ = true;
            break;
        default:
            break;
        }
        break;
    case WM_SIZE:
        FitColumns();
        break;
    case WM_CONTEXTMENU:
        // Kept here: the window behind the list has no menu of its own.
        ShowRowMenu(lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ToggleTickAt(lParam)) {
            return 0;
        }
        break;
    case WM_DESTROY:
        rows_.clear();
        break;
    default:
        break;
    }
    return CListView::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> CScanView::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam)
{
    const UINT code = message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam)->code : 0;
    if (code == LVN_GETDISPINFOA) {
        SupplyItem(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
        return 0;
    }
    if (code == LVN_ITEMCHANGED) {
        ShowDetails();
        return CListView::HandleReflected(message, wParam, lParam);
    }
    if (code == LVN_COLUMNCLICK) {
        const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
        SortBy(static_cast<Column>(column), column != sortColumn_ || !sortAscending_);
        return 0;
    }
    if (code == LVN_GETINFOTIPA) {
        SupplyTip(*reinterpret_cast<NMLVGETINFOTIPA*>(lParam));
        return 0;
    }
    return CListView::HandleReflected(message, wParam, lParam);
}

void CScanView::SupplyItem(NMLVDISPINFOA& request) const noexcept
{
    LVITEMA& item = request.item;
    const ResultRow* record = RowData(item.iItem);
    if (!record) {
        return;
    }
    if ((item.mask & LVIF_STATE) && item.iSubItem == 0) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(record->ticked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        lstrcpynA(item.pszText, ColumnText(*record, item.iSubItem).c_str(), item.cchTextMax);
    }
}

void CScanView::SupplyTip(NMLVGETINFOTIPA& request) const noexcept
{
    const ResultRow* record = RowData(request.iItem);
    if (record && request.pszText && request.cchTextMax > 0) {
        lstrcpynA(request.pszText, record->fullName.c_str(), request.cchTextMax);
    }
}

bool CScanView::ToggleTickAt(LPARAM point)
{
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const int row = static_cast<int>(::SendMessageA(GetSafeHwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON) || !RowData(row)) {
        return false;
    }
    SetFocus(GetSafeHwnd());
    SetTicked(row, !IsTicked(row));
    return true;
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
    case ID_ROW_COPY_DETAILS:
        return focused != nullptr;
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
    case ID_ROW_COPY_DETAILS:
        CopyDetails();
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

void CScanView::ShowDetails() const
{
    if (details_ && ::IsWindow(details_)) {
        ::SetWindowTextA(details_, FocusedDetails().c_str());
    }
}

void CScanView::CopyDetails() const
{
    if (!CopyToClipboard(GetSafeHwnd(), FocusedDetails())) {
        Tell(GetSafeHwnd(), "The details could not be copied: another program holds the clipboard.");
    }
}
