// CTreeCtrl: a tree-view control bound to its window (usually a dialog's control, subclassed so that the
// notifications its parent reflects reach the object). Operations check the control still exists.
#pragma once

#include "framework/Window.h"

#include <commctrl.h>

#include <string>

class CTreeCtrl : public CWnd {
public:
    HTREEITEM InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST) const noexcept;
    std::string GetItemText(HTREEITEM item) const;
    // The state-image index (the 4 bits of the item state reserved for it); 0 for no item.
    int GetStateImage(HTREEITEM item) const noexcept;
    bool SetStateImage(HTREEITEM item, int index) const noexcept;

    HTREEITEM GetRootItem() const noexcept;
    HTREEITEM GetChildItem(HTREEITEM item) const noexcept;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const noexcept;
    HTREEITEM GetSelectedItem() const noexcept;
    bool SelectItem(HTREEITEM item) const noexcept;
    bool Expand(HTREEITEM item, UINT code = TVE_EXPAND) const noexcept;
    // The item at point (client coordinates) and the TVHT_ flags of where it was hit.
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const noexcept;
    // type is TVSIL_NORMAL or TVSIL_STATE. The tree never destroys its image lists; their owner does.
    void SetImageList(HIMAGELIST list, int type) const noexcept;

private:
    HTREEITEM NextItem(HTREEITEM item, UINT relation) const noexcept;
};
