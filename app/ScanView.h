// CScanView: the results list, one row per issue with the columns Name (the entry's own name; its full path shows
// as a tip), Description, Type, Grade and Action (rows are ticked but for Expert ones, and sorted by a click on a
// column's header, a second click reversing the order), the
// list's own keyboard commands and the menu of its rows. The view keeps each row as a ResultRow record, with its
// texts and its tick, and the list asks for them as it draws (an owner-data list): a scan may list tens of thousands
// of rows, which the list then takes in one step. The records go when the rows are cleared or the list is
// destroyed; the issues themselves belong to their IssueLists and are never released here.
#pragma once

#include "framework/ListView.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class IssueList;
class ResultsCommands;
class ScanIssue;

struct ResultRow {
    // The index of the row's scanner in the scan, whose counter goes down when the row is fixed.
    int category = -1;
    // No reference held; null once the row has been repaired, has failed or is ignored.
    ScanIssue* issue = nullptr;
    // What the row's menu acts on, kept after the repair: the target's full path, the registry key that is or
    // holds the target (empty for one on disk), and whether the target is a file.
    std::string path;
    std::string keyPath;
    bool isFile = false;
    // The path with the view mark of a key 64-bit Windows keeps apart: the tip over the row's name.
    std::string fullName;
    // The texts of the columns Name, Description, Type, Grade and Action.
    std::string name;
    std::string description;
    std::string type;
    std::string grade;
    std::string action = "Repair";
    // Expert rows are ticked only by hand, one at a time.
    bool ticked = true;
};

class CScanView : public CListView {
public:
    enum Column { NameColumn, DescriptionColumn, TypeColumn, GradeColumn, ActionColumn };

    CScanView() noexcept : CListView(LVS_OWNERDATA) {}
    ~CScanView() override;

    void SetMainWindow(ResultsCommands* mainWindow) noexcept { mainWindow_ = mainWindow; }
    // The text that shows the focused row's details; not owned, may be null.
    void SetDetailsArea(HWND details) noexcept { details_ = details; }
    void OnInitialUpdate() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

    // Inserts a ticked row for issue at position, listed as found by scannerName, the scanner at index category
    // of the scan. Returns the position (a sorted list then moves the row to its place), or -1 when no row could
    // be made.
    int InsertIssue(int position, ScanIssue& issue, const std::string& scannerName, int category);
    // Inserts a ticked row for each issue of one scanner's list on top of the rows, in the list's order. Returns the
    // number of rows made.
    int InsertIssues(const IssueList& issues, const std::string& scannerName, int category);
    int RowCount() const noexcept;
    // Null for a row without a record.
    ResultRow* RowData(int row) const noexcept;
    bool IsTicked(int row) const noexcept;
    void SetTicked(int row, bool ticked) const noexcept;
    void SetAction(int row, const std::string& text) const;
    std::string Text(int row, Column column) const;

    // Ticks every row but the Expert ones; nothing unticks them all.
    void TickAll() const noexcept;
    // Toggles the first selected row only.
    void ToggleSelectedTick() const noexcept;
    // Orders the rows by the text of the column, from the top or the bottom; rows of equal text keep their order,
    // and every row its tick, selection and focus. Rows listed later are put in the same order.
    void SortBy(Column column, bool ascending = true);
    // The column the rows are sorted by, -1 for the order they came in.
    int SortColumn() const noexcept { return sortColumn_; }
    bool SortAscending() const noexcept { return sortAscending_; }
    std::vector<int> ColumnWidths() const;
    // Widths from the first column; more than there are columns are passed over. The widths count as chosen.
    void SetColumnWidths(const std::vector<int>& widths);
    // Until the user sizes a column (or widths are set), the columns share the list's width in fixed parts.
    void FitColumns() const;
    bool ColumnWidthsChosen() const noexcept { return widthsChosen_; }
    // The details of the focused row: its entry, data, evidence, grade and what a repair does; empty without one.
    std::string FocusedDetails() const;
    // Frees every row's record, then deletes every row.
    void ClearResults() noexcept;

    // The selected rows, from the top.
    std::vector<int> SelectedRows() const;
    // Whether a command of the row menu applies to the selected rows (to the focused one, where it acts on one).
    bool RowCommandApplies(UINT id) const;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Puts records in at position; the selection, the focus and the selection mark stay with their rows. Returns
    // the position, or -1 when the list is gone.
    int InsertRecords(int position, std::vector<std::unique_ptr<ResultRow>> records);
    // Answers the list's request for a row's text or tick from the row's record.
    void SupplyItem(NMLVDISPINFOA& request) const noexcept;
    // A click on a row's box toggles its tick; true when the click was on one.
    bool ToggleTickAt(LPARAM point);
    // The menu at a screen point, or under the focused row for the keyboard's (-1, -1).
    void ShowRowMenu(LPARAM where);
    void RunRowCommand(UINT id);
    // The focused row's record when it is selected, else the first selected row's; null without a selection.
    const ResultRow* FocusedRecord() const noexcept;
    int FocusedRow() const noexcept;
    void CopyPaths() const;
    void CopyDetails() const;

    void ShowDetails() const;
    void Resort();
    // The full path of a row, for the tip over its name.
    void SupplyTip(NMLVGETINFOTIPA& request) const noexcept;

    ResultsCommands* mainWindow_ = nullptr;
    HWND details_ = nullptr;
    std::vector<std::unique_ptr<ResultRow>> rows_;
    bool widthsChosen_ = false;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
};
