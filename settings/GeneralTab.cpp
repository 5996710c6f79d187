#include "settings/GeneralTab.h"

#include "framework/ListView.h"
#include "resources/resource.h"
#include "scanners/Categories.h"
#include "settings/FolderBrowser.h"

#include <commctrl.h>

CGeneralTab::CGeneralTab(Settings& settings, CWnd& parent) noexcept
    : CSettingsPage(IDD_GENERAL_TAB, settings, parent)
{
}

bool CGeneralTab::OnCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED && (id == IDC_GENERAL_SCAN_DRIVES || id == IDC_GENERAL_KEEP_DELETED)) {
        EnableDependents();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_GENERAL_BROWSE) {
        BrowseForFolder(GetSafeHwnd(), IDC_GENERAL_DELETED_PATH);
        return true;
    }
    return CSettingsPage::OnCommand(id, code, control);
}

void CGeneralTab::Load()
{
    LimitToStorableText(IDC_GENERAL_DELETED_PATH);
    tree_.SubclassDlgItem(IDC_GENERAL_DRIVE_TREE, GetSafeHwnd());
    tree_.FillDrives();
    SetChecked(IDC_GENERAL_KEEP_DELETED, SettingOn("KeepDeletedFiles"));
    SetItemText(IDC_GENERAL_DELETED_PATH, Setting("KeepDeletedFilesPathName"));
    SetChecked(IDC_GENERAL_SCAN_DRIVES, SettingOn("ScanFolders"));
    SetChecked(IDC_GENERAL_SCAN_REGISTRY, SettingOn("ScanWindowsRegistry"));
    tree_.ApplyScanDrives(Setting("ScanDrives"));
    EnableDependents();
    LoadCategories();
}

void CGeneralTab::LoadCategories() const
{
    const CListCtrl list(Item(IDC_GENERAL_CATEGORIES));
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    RECT client{};
    ::GetClientRect(list.GetSafeHwnd(), &client);
    list.InsertColumn(0, "", LVCFMT_LEFT, client.right - GetSystemMetrics(SM_CXVSCROLL));
    const std::string leftOut = Setting(LeftOutCategoriesName);
    int row = 0;
    for (const CategoryInfo& category : Categories()) {
        list.InsertItem(row, category.name);
        list.SetCheck(row++, !LeavesOut(leftOut, category));
    }
}

void CGeneralTab::Store()
{
    StoreCheck("KeepDeletedFiles", IDC_GENERAL_KEEP_DELETED);
    SetSetting("KeepDeletedFilesPathName", ItemText(IDC_GENERAL_DELETED_PATH));
    StoreCheck("ScanFolders", IDC_GENERAL_SCAN_DRIVES);
    StoreCheck("ScanWindowsRegistry", IDC_GENERAL_SCAN_REGISTRY);
    SetSetting("ScanDrives", tree_.CollectScanDrives());
    const CListCtrl list(Item(IDC_GENERAL_CATEGORIES));
    if (list.GetItemCount() != CategoryCount) {
        return;  // never filled: a list without ticks must not leave every category out
    }
    std::string leftOut;
    for (size_t i = 0; i < Categories().size(); ++i) {
        if (!list.GetCheck(static_cast<int>(i))) {
            leftOut += (leftOut.empty() ? "" : ";") + std::string(Categories()[i].tag);
        }
    }
    // Written only once a choice was made: every category is scanned while the value is absent.
    if (!leftOut.empty() || !Setting(LeftOutCategoriesName).empty()) {
        SetSetting(LeftOutCategoriesName, leftOut);
    }
}

void CGeneralTab::EnableDependents() const noexcept
{
    EnableItems({IDC_GENERAL_DRIVE_TREE}, IsChecked(IDC_GENERAL_SCAN_DRIVES));
    EnableItems({IDC_GENERAL_DELETED_PATH, IDC_GENERAL_BROWSE}, IsChecked(IDC_GENERAL_KEEP_DELETED));
}
