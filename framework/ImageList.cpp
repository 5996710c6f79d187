#include "framework/ImageList.h"

#include "framework/Resources.h"

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow) noexcept
{
    list_.reset(ImageList_Create(width, height, flags, initial, grow));
    return list_.valid();
}

bool CImageList::CreateFromBitmap(UINT bitmapId, int width, int grow, COLORREF mask) noexcept
{
    list_.reset(ImageList_LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(bitmapId), width, grow, mask, IMAGE_BITMAP,
                                     LR_CREATEDIBSECTION));
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
