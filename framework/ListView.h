// CListCtrl: a thin, non-owning wrapper over a list-view control's messages; every operation checks the control
// still exists and refuses row index -1, which the control would apply to every row.
// CListView: a view (see CFrameWnd) that owns a report-style list-view control.
#pragma once

#include "framework/FrameWnd.h"

#include <string>

class CListCtrl {
public:
    explicit CListCtrl(HWND list = nullptr) noexcept : list_(list) {}

    HWND GetSafeHwnd() const noexcept { return list_; }
    bool IsWindow() const noexcept { return list_ && ::IsWindow(list_); }

    DWORD GetExtendedStyle() const noexcept;
    void SetExtendedStyle(DWORD style) const noexcept;
    // Returns the column's index, or -1.
    int InsertColumn(int index, const std::string& header, int format, int width) const noexcept;

    int GetItemCount() const noexcept;
    // Inserts a row with the text of its first column; returns the row's actual index, or -1.
    int InsertItem(int index, const std::string& text, LPARAM data = 0) const noexcept;
    bool SetItemText(int item, int column, const std::string& text) const noexcept;
    std::string GetItemText(int item, int column) const;
    bool SetItemData(int item, LPARAM data) const noexcept;
    LPARAM GetItemData(int item) const noexcept;
    bool SetItemState(int item, UINT state, UINT mask) const noexcept;
    UINT GetItemState(int item, UINT mask) const noexcept;
    // The tick of a list with check boxes.
    bool SetCheck(int item, bool ticked) const noexcept;
    bool GetCheck(int item) const noexcept;
    // The next row after start (-1: from the top) with the LVNI_ flags; -1 when there is none.
    int GetNextItem(int start, UINT flags) const noexcept;
    bool DeleteAllItems() const noexcept;
    // Has the rows from first to last drawn again with the list's next painting.
    bool RedrawItems(int first, int last) const noexcept;
    // The number of rows of a list whose owner keeps the rows (LVS_OWNERDATA); the scroll position stays.
    bool SetItemCount(int count) const noexcept;
    // The state bits the list asks its parent for (LVN_GETDISPINFO) instead of keeping them.
    bool SetCallbackMask(UINT mask) const noexcept;
    int GetSelectionMark() const noexcept;
    void SetSelectionMark(int item) const noexcept;

private:
    bool IsRow(int item) const noexcept;

    HWND list_;
};

class CListView : public CView {
public:
    // style: list-view styles beyond LVS_REPORT, such as LVS_OWNERDATA.
    explicit CListView(DWORD style = 0) noexcept : style_(style) {}
    bool CreateView(HWND frame, const RECT& rect, UINT id) override;
    CListCtrl GetListCtrl() const noexcept { return CListCtrl(GetSafeHwnd()); }

private:
    DWORD style_;
};
