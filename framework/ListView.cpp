#include "framework/ListView.h"

#include <commctrl.h>

#include <vector>

DWORD CListCtrl::GetExtendedStyle() const noexcept
{
    return IsWindow() ? static_cast<DWORD>(SendMessageA(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) : 0;
}

void CListCtrl::SetExtendedStyle(DWORD style) const noexcept
{
    if (IsWindow()) {
        SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
    }
}

int CListCtrl::InsertColumn(int index, const std::string& header, int format, int width) const noexcept
{
    if (!IsWindow()) {
        return -1;
    }
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(header.c_str());
    column.iSubItem = index;
    return static_cast<int>(SendMessageA(list_, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::GetItemCount() const noexcept
{
    return IsWindow() ? static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int CListCtrl::InsertItem(int index, const std::string& text, LPARAM data) const noexcept
{
    if (!IsWindow() || index < 0) {
        return -1;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = data;
    return static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int item, int column, const std::string& text) const noexcept
{
    if (!IsRow(item)) {
        return false;
    }
    LVITEMA info{};
    info.iSubItem = column;
    info.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(list_, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&info)) != 0;
}

std::string CListCtrl::GetItemText(int item, int column) const
{
    if (!IsRow(item)) {
        return {};
    }
    // The control copies at most the buffer's size; a full buffer means the text may go on.
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA info{};
        info.iSubItem = column;
        info.pszText = buffer.data();
        info.cchTextMax = static_cast<int>(buffer.size());
        const auto length =
            static_cast<size_t>(SendMessageA(list_, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&info)));
        if (length + 1 < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool CListCtrl::SetItemData(int item, LPARAM data) const noexcept
{
    if (!IsRow(item)) {
        return false;
    }
    LVITEMA info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    info.lParam = data;
    return SendMessageA(list_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

LPARAM CListCtrl::GetItemData(int item) const noexcept
{
    if (!IsRow(item)) {
        return 0;
    }
    LVITEMA info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    return SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info)) ? info.lParam : 0;
}

bool CListCtrl::SetItemState(int item, UINT state, UINT mask) const noexcept
{
    if (!IsRow(item)) {
        return false;
    }
    LVITEMA info{};
    info.state = state;
    info.stateMask = mask;
    return SendMessageA(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&info)) != 0;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const noexcept
{
    return IsRow(item) ? static_cast<UINT>(SendMessageA(list_, LVM_GETITEMSTATE, item, mask)) : 0;
}

bool CListCtrl::SetCheck(int item, bool ticked) const noexcept
{
    return SetItemState(item, INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

bool CListCtrl::GetCheck(int item) const noexcept
{
    return (GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int CListCtrl::GetNextItem(int start, UINT flags) const noexcept
{
    return IsWindow() ? static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0))) : -1;
}

bool CListCtrl::DeleteAllItems() const noexcept
{
    return IsWindow() && SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0) != 0;
}

bool CListCtrl::RedrawItems(int first, int last) const noexcept
{
    return IsWindow() && SendMessageA(list_, LVM_REDRAWITEMS, first, last) != 0;
}

bool CListCtrl::SetItemCount(int count) const noexcept
{
    return IsWindow() && count >= 0 && SendMessageA(list_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL) != 0;
}

bool CListCtrl::SetCallbackMask(UINT mask) const noexcept
{
    return IsWindow() && SendMessageA(list_, LVM_SETCALLBACKMASK, mask, 0) != 0;
}

int CListCtrl::GetSelectionMark() const noexcept
{
    return IsWindow() ? static_cast<int>(SendMessageA(list_, LVM_GETSELECTIONMARK, 0, 0)) : -1;
}

void CListCtrl::SetSelectionMark(int item) const noexcept
{
    if (IsWindow()) {
        SendMessageA(list_, LVM_SETSELECTIONMARK, 0, item);
    }
}

bool CListCtrl::IsRow(int item) const noexcept
{
    return IsWindow() && item >= 0 && item < GetItemCount();
}

bool CListView::CreateView(HWND frame, const RECT& rect, UINT id)
{
    return CreateControl(WC_LISTVIEWA, 0, WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | style_, rect, frame, id);
}
