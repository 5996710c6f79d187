// CDriveTreeView: the machine's fixed drives under one "My Computer" item, with three-state tick boxes, and the
// conversion of the ticks to and from the stored drive list ("C:\;D:\;": each ticked drive's root and a ";").
#pragma once

#include "framework/ImageList.h"
#include "framework/TreeCtrl.h"

#include <string>
#include <vector>

// A fixed drive as the tree lists it: its letter and its volume label (empty when it has none).
struct FixedDrive {
    char letter;
    std::string label;
};

// The fixed disks of this machine in ascending letter order.
std::vector<FixedDrive> ListFixedDrives();

class CDriveTreeView : public CTreeCtrl {
public:
    // State-image indexes, the images of bitmap 156.
    static constexpr int kTicked = 1;
    static constexpr int kMixed = 2;
    static constexpr int kUnticked = 3;

    // Builds the tree from this machine's fixed drives, every item unticked.
    void FillDrives();
    void FillDrives(const std::vector<FixedDrive>& drives);
    // Ticks the drives the stored list names and sets the root to match.
    void ApplyScanDrives(const std::string& text) const;
    // The stored list for the current ticks: empty when the root is unticked.
    std::string CollectScanDrives() const;

    HTREEITEM RootItem() const noexcept { return root_; }
    std::vector<HTREEITEM> DriveItems() const;
    // The drive letter an item's text ends with ("System (C:)" gives 'C'); 0 when the text is too short.
    static char DriveLetter(const std::string& itemText) noexcept;

protected:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<LRESULT> OnClick();
    // What a click on the item's tick box does: the root carries every drive with it, a drive sets the root.
    void Toggle(HTREEITEM item) const;
    void SetRootFromDrives() const;
    void AttachStateImages();

    CImageList icons_;
    CImageList states_;
    HTREEITEM root_ = nullptr;
};
