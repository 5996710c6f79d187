#include "framework/ImageList.h"

#include "framework/Resources.h"

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow) noexcept
{
    list_.reset(ImageList_Create(width, height, flags, initial, grow));
    return list_.valid();
}

bool CImageList::CreateFromBitmap(UINT bitmapId, int width, int grow, COLORREF mask) noexcept
{
    // Added to a 32-bit list rather than loaded as the list itself: a list made from a palette bitmap draws its
    // images in the wrong colours.
    const UniqueBitmap strip = LoadBitmapResource(bitmapId);
    const SIZE size = BitmapSize(strip.get());
    if (!strip || width <= 0 || size.cx < width) {
        list_.reset();
        return false;
    }
    list_.reset(ImageList_Create(width, size.cy, ILC_COLOR32 | ILC_MASK, size.cx / width, grow));
    if (list_ && ImageList_AddMasked(list_.get(), strip.get(), mask) < 0) {
        list_.reset();
    }
    return list_.valid();
}

int CImageList::Add(HICON icon) const noexcept
{
    return list_ && icon ? ImageList_AddIcon(list_.get(), icon) : -1;
}

int CImageList::GetImageCount() const noexcept
{
    return list_ ? ImageList_GetImageCount(list_.get()) : 0;
}
