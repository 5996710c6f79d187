// Shell item identifiers: owned by the caller and freed with the shell's allocator.
#pragma once

#include <shlobj.h>

#include <memory>

struct PidlFree {
    void operator()(ITEMIDLIST* pidl) const noexcept { CoTaskMemFree(pidl); }
};
using UniquePidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// The item of a special folder (CSIDL_DRIVES, CSIDL_BITBUCKET, ...); null when the shell has none.
inline UniquePidl SpecialFolderItem(int folder) noexcept
{
    ITEMIDLIST* item = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &item))) {
        return nullptr;
    }
    return UniquePidl(item);
}
