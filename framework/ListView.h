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
    // Inserts a row whose texts, in each of its columns, the list asks its parent for (LVN_GETDISPINFO) whenever it
    // needs them, so that it keeps no copies; returns the row's actual index, or -1.
    int InsertCallbackItem(int index, int columns, LPARAM data) const noexcept;
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
    // Off, the list draws nothing while rows come and go; back on, it draws itself whole.
    void SetRedraw(bool redraw) const noexcept;

private:
    bool IsRow(int item) const noexcept;

    HWND list_;
};

// Holds a list's drawing while it lives, for changes to many rows at once: each row drawn on its own would cost
// more than the change itself.
class ListRedrawHold {
public:
    explicit ListRedrawHold(const CListCtrl& list) noexcept : list_(list) { list_.SetRedraw(false); }
    ~ListRedrawHold() { list_.SetRedraw(true); }
    ListRedrawHold(const ListRedrawHold&) = delete;
    ListRedrawHold& operator=(const ListRedrawHold&) = delete;

private:
    CListCtrl list_;
};

class CListView : public CView {
public:
    bool CreateView(HWND frame, const RECT& rect, UINT id) override;
    CListCtrl GetListCtrl() const noexcept { return CListCtrl(GetSafeHwnd()); }
};
