#include "framework/TreeCtrl.h"

#include <vector>

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) const noexcept
{
    if (!IsWindow()) {
        return nullptr;
    }
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const
{
    if (!IsWindow() || !item) {
        return {};
    }
    std::vector<char> buffer(256);
    for (;;) {
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer.data();
        info.cchTextMax = static_cast<int>(buffer.size());
        if (!SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) {
            return {};
        }
        // A full buffer means the text may go on.
        const std::string text(info.pszText);
        if (text.size() + 1 < buffer.size()) {
            return text;
        }
        buffer.resize(buffer.size() * 2);
    }
}

int CTreeCtrl::GetStateImage(HTREEITEM item) const noexcept
{
    if (!IsWindow() || !item) {
        return 0;
    }
    const auto state = static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                                     TVIS_STATEIMAGEMASK));
    return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

bool CTreeCtrl::SetStateImage(HTREEITEM item, int index) const noexcept
{
    if (!IsWindow() || !item) {
        return false;
    }
    TVITEMA info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = INDEXTOSTATEIMAGEMASK(index);
    info.stateMask = TVIS_STATEIMAGEMASK;
    return SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

HTREEITEM CTreeCtrl::GetRootItem() const noexcept
{
    return NextItem(nullptr, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const noexcept
{
    return item ? NextItem(item, TVGN_CHILD) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const noexcept
{
    return item ? NextItem(item, TVGN_NEXT) : nullptr;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const noexcept
{
    return NextItem(nullptr, TVGN_CARET);
}

bool CTreeCtrl::SelectItem(HTREEITEM item) const noexcept
{
    return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool CTreeCtrl::Expand(HTREEITEM item, UINT code) const noexcept
{
    return item && SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const noexcept
{
    TVHITTESTINFO test{};
    test.pt = point;
    const auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test)));
    if (flags) {
        *flags = test.flags;
    }
    return item;
}

void CTreeCtrl::SetImageList(HIMAGELIST list, int type) const noexcept
{
    SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(type), reinterpret_cast<LPARAM>(list));
}

HTREEITEM CTreeCtrl::NextItem(HTREEITEM item, UINT relation) const noexcept
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}
