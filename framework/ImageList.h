// CImageList: an owned image list. A control it is attached to only borrows it, except a list view without
// LVS_SHAREIMAGELISTS, which destroys its lists itself: give such a list view the handle from Detach().
#pragma once

#include "framework/GdiHandles.h"

class CImageList {
public:
    bool Create(int width, int height, UINT flags, int initial, int grow) noexcept;
    // From a bitmap resource holding images of the given width side by side; mask is the transparent colour.
    bool CreateFromBitmap(UINT bitmapId, int width, int grow, COLORREF mask) noexcept;
    // Returns the new image's index, or -1.
    int Add(HICON icon) const noexcept;
    int GetImageCount() const noexcept;
    HIMAGELIST GetSafeHandle() const noexcept { return list_.get(); }
    HIMAGELIST Detach() noexcept { return list_.release(); }

private:
    UniqueImageList list_;
};
