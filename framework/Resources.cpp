#include "framework/Resources.h"

namespace {

HINSTANCE instance_ = nullptr;

}  // namespace

HINSTANCE ResourceInstance() noexcept
{
    return instance_ ? instance_ : GetModuleHandleA(nullptr);
}

void SetResourceInstance(HINSTANCE instance) noexcept
{
    instance_ = instance;
}

UniqueBitmap LoadBitmapResource(UINT id) noexcept
{
    return UniqueBitmap(static_cast<HBITMAP>(
        LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

UniqueIcon LoadIconResource(UINT id, int size) noexcept
{
    const UINT flags = size == 0 ? LR_DEFAULTSIZE : LR_DEFAULTCOLOR;
    return UniqueIcon(
        static_cast<HICON>(LoadImageA(ResourceInstance(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, flags)));
}

UniqueMenu LoadMenuResource(UINT id) noexcept
{
    return UniqueMenu(LoadMenuA(ResourceInstance(), MAKEINTRESOURCEA(id)));
}

HACCEL LoadAcceleratorResource(UINT id) noexcept
{
    return LoadAcceleratorsA(ResourceInstance(), MAKEINTRESOURCEA(id));
}

std::string LoadStringResource(UINT id)
{
    // Strings are limited to 4096 characters in a resource script; a larger buffer is never needed.
    char text[4097];
    const int length = LoadStringA(ResourceInstance(), id, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}
