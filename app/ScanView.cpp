#include "app/ScanView.h"

#include "app/ResultsCommands.h"
#include "engine/ScanIssue.h"
#include "resources/resource.h"

#include <commctrl.h>

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
    {ID_LIST_HELP, &ResultsCommands::OpenHelp},
};

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
    auto record = std::make_unique<ResultRow>(ResultRow{category, &issue});
    const int row = list.InsertItem(position, issue.Name(), reinterpret_cast<LPARAM>(record.get()));
    if (row < 0) {
        return -1;
    }
    record.release();
    list.SetItemText(row, TypeColumn, scannerName);
    list.SetItemText(row, ActionColumn, "Repair");
    list.SetItemText(row, DescriptionColumn, issue.Description());
    list.SetCheck(row, true);
    return row;
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

void CScanView::SetAction(int row, const std::string& text) const noexcept
{
    GetListCtrl().SetItemText(row, ActionColumn, text);
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
    FreeRowData();
    GetListCtrl().DeleteAllItems();
}

std::optional<LRESULT> CScanView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTEXTMENU:
        // The list has no context menu.
        return 0;
    case WM_DESTROY:
        FreeRowData();
        break;
    default:
        break;
    }
    return CListView::HandleMessage(message, wParam, lParam);
}

void CScanView::FreeRowData() noexcept
{
    const CListCtrl list = GetListCtrl();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        delete reinterpret_cast<ResultRow*>(list.GetItemData(row));
        list.SetItemData(row, 0);
    }
}
