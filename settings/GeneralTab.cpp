#include "settings/GeneralTab.h"

#include "resources/resource.h"
#include "settings/FolderBrowser.h"

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
}

void CGeneralTab::Store()
{
    StoreCheck("KeepDeletedFiles", IDC_GENERAL_KEEP_DELETED);
    SetSetting("KeepDeletedFilesPathName", ItemText(IDC_GENERAL_DELETED_PATH));
    StoreCheck("ScanFolders", IDC_GENERAL_SCAN_DRIVES);
    StoreCheck("ScanWindowsRegistry", IDC_GENERAL_SCAN_REGISTRY);
    SetSetting("ScanDrives", tree_.CollectScanDrives());
}

void CGeneralTab::EnableDependents() const noexcept
{
    EnableItems({IDC_GENERAL_DRIVE_TREE}, IsChecked(IDC_GENERAL_SCAN_DRIVES));
    EnableItems({IDC_GENERAL_DELETED_PATH, IDC_GENERAL_BROWSE}, IsChecked(IDC_GENERAL_KEEP_DELETED));
}
