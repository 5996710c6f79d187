#include "ui/DriveTreeView.h"

#include "framework/GdiHandles.h"
#include "registry/ComApartment.h"
#include "resources/resource.h"
#include "ui/ShellItem.h"

#include <shellapi.h>

namespace {

constexpr COLORREF kStateMask = RGB(255, 0, 0);

// The shell's small icon for a path, or for an item identifier when pidl is set. The normal-file attribute keeps
// the shell from touching the drive.
UniqueIcon SmallShellIcon(const char* path, const ITEMIDLIST* pidl = nullptr) noexcept
{
    SHFILEINFOA info{};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
    const char* subject = path;
    if (pidl) {
        flags |= SHGFI_PIDL;
        subject = reinterpret_cast<const char*>(pidl);
    }
    if (!SHGetFileInfoA(subject, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags)) {
        return UniqueIcon();
    }
    return UniqueIcon(info.hIcon);
}

UniqueIcon MyComputerIcon() noexcept
{
    const UniquePidl drives = SpecialFolderItem(CSIDL_DRIVES);
    return drives ? SmallShellIcon(nullptr, drives.get()) : UniqueIcon();
}

std::string RootPath(char letter)
{
    return std::string(1, letter) + ":\\";
}

}  // namespace

std::vector<FixedDrive> ListFixedDrives()
{
    std::vector<FixedDrive> drives;
    const DWORD mask = GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit) {
        const char letter = static_cast<char>('A' + bit);
        if (!(mask & (1u << bit)) || GetDriveTypeA(RootPath(letter).c_str()) != DRIVE_FIXED) {
            continue;
        }
        char label[256] = "";
        if (!GetVolumeInformationA(RootPath(letter).c_str(), label, 255, nullptr, nullptr, nullptr, nullptr, 0)) {
            label[0] = '\0';
        }
        drives.push_back({letter, label});
    }
    return drives;
}

void CDriveTreeView::FillDrives()
{
    FillDrives(ListFixedDrives());
}

void CDriveTreeView::FillDrives(const std::vector<FixedDrive>& drives)
{
    if (!IsWindow()) {
        return;
    }
    // The shell's item look-ups need COM on this thread.
    const ComApartment com;
    SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    // The new lists are attached before the old ones go, so the control never draws from a destroyed list.
    CImageList icons;
    icons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
    const int rootImage = icons.Add(MyComputerIcon().get());
    std::vector<int> driveImages;
    for (const FixedDrive& drive : drives) {
        driveImages.push_back(icons.Add(SmallShellIcon(RootPath(drive.letter).c_str()).get()));
    }
    SetImageList(icons.GetSafeHandle(), TVSIL_NORMAL);
    icons_ = std::move(icons);
    AttachStateImages();

    root_ = InsertItem("My Computer", rootImage, rootImage);
    SetStateImage(root_, kUnticked);
    for (size_t i = 0; i < drives.size(); ++i) {
        const std::string text = drives[i].label + " (" + drives[i].letter + ":)";
        SetStateImage(InsertItem(text, driveImages[i], driveImages[i], root_), kUnticked);
    }
    Expand(root_);
}

void CDriveTreeView::AttachStateImages()
{
    CImageList states;
    states.CreateFromBitmap(IDB_DRIVE_STATES, 16, 1, kStateMask);
    const auto previous = reinterpret_cast<HIMAGELIST>(
        SendMessage(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(states.GetSafeHandle())));
    // The check-box style gives the control tick images of its own, which it leaves to us to destroy.
    if (previous && previous != states_.GetSafeHandle()) {
        UniqueImageList controlOwn(previous);
    }
    states_ = std::move(states);
}

void CDriveTreeView::ApplyScanDrives(const std::string& text) const
{
    const std::vector<HTREEITEM> drives = DriveItems();
    for (size_t end = text.find(';'); end != std::string::npos; end = text.find(';', end + 1)) {
        if (end < 3) {
            continue;
        }
        const char letter = text[end - 3];
        for (HTREEITEM drive : drives) {
            if (DriveLetter(GetItemText(drive)) == letter) {
                SetStateImage(drive, kTicked);
                break;
            }
        }
    }
    SetRootFromDrives();
}

std::string CDriveTreeView::CollectScanDrives() const
{
    const std::vector<HTREEITEM> drives = DriveItems();
    if (drives.empty() || GetStateImage(root_) == kUnticked) {
        return {};
    }
    std::string text;
    for (HTREEITEM drive : drives) {
        if (GetStateImage(drive) == kTicked) {
            text += RootPath(DriveLetter(GetItemText(drive))) + ";";
        }
    }
    return text;
}

std::vector<HTREEITEM> CDriveTreeView::DriveItems() const
{
    std::vector<HTREEITEM> drives;
    for (HTREEITEM item = GetChildItem(root_); item; item = GetNextSiblingItem(item)) {
        drives.push_back(item);
    }
    return drives;
}

char CDriveTreeView::DriveLetter(const std::string& itemText) noexcept
{
    return itemText.size() < 3 ? '\0' : itemText[itemText.size() - 3];
}

std::optional<LRESULT> CDriveTreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Space is handled whole here: the control's own advance of the index differs between versions of the
    // common controls. Its character would start a search that jumps to a drive whose label is empty.
    if (wParam == VK_SPACE && (message == WM_KEYDOWN || message == WM_CHAR)) {
        if (message == WM_KEYDOWN) {
            Toggle(GetSelectedItem());
        }
        return 0;
    }
    return CTreeCtrl::HandleMessage(message, wParam, lParam);
}

std::optional<LRESULT> CDriveTreeView::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_NOTIFY) {
        return CTreeCtrl::HandleReflected(message, wParam, lParam);
    }
    switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
    case NM_CLICK:
        return OnClick();
    case NM_DBLCLK:
        // The root stays expanded.
        return 1;
    default:
        return std::nullopt;
    }
}

std::optional<LRESULT> CDriveTreeView::OnClick()
{
    const DWORD position = GetMessagePos();
    POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(GetSafeHwnd(), &point);
    UINT flags = 0;
    const HTREEITEM item = HitTest(point, &flags);
    if (!item || !(flags & TVHT_ONITEMSTATEICON)) {
        return std::nullopt;
    }
    SelectItem(item);
    Toggle(item);
    // Handled: the control must not change the tick itself.
    return 1;
}

void CDriveTreeView::Toggle(HTREEITEM item) const
{
    if (!item) {
        return;
    }
    const int next = GetStateImage(item) == kUnticked ? kTicked : kUnticked;
    SetStateImage(item, next);
    if (item != root_) {
        SetRootFromDrives();
        return;
    }
    for (HTREEITEM drive : DriveItems()) {
        SetStateImage(drive, next);
    }
}

void CDriveTreeView::SetRootFromDrives() const
{
    const std::vector<HTREEITEM> drives = DriveItems();
    if (drives.empty()) {
        return;
    }
    size_t ticked = 0;
    for (HTREEITEM drive : drives) {
        ticked += GetStateImage(drive) == kTicked ? 1 : 0;
    }
    SetStateImage(root_, ticked == drives.size() ? kTicked : ticked == 0 ? kUnticked : kMixed);
}
