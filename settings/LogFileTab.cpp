#include "settings/LogFileTab.h"

#include "framework/Resources.h"
#include "resources/resource.h"
#include "settings/FolderBrowser.h"

CLogFileTab::CLogFileTab(Settings& settings, CWnd& parent) noexcept
    : CSettingsPage(IDD_LOGFILE_TAB, settings, parent)
{
}

bool CLogFileTab::OnCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED && id == IDC_LOG_KEEP_HISTORY) {
        EnablePath();
        return true;
    }
    if (code == BN_CLICKED && id == IDC_LOG_BROWSE) {
        BrowseForFolder(GetSafeHwnd(), IDC_LOG_PATH);
        return true;
    }
    return CSettingsPage::OnCommand(id, code, control);
}

void CLogFileTab::Load()
{
    LimitToStorableText(IDC_LOG_PATH);
    SetItemText(IDC_LOG_SCHEDULE_REBOOT, "Schedule " + LoadStringResource(IDS_PRODUCT) + " start on reboot");
    SetChecked(IDC_LOG_SCHEDULE_REBOOT, SettingOn("ScheduleOnReboot"));
    SetChecked(IDC_LOG_KEEP_HISTORY, SettingOn("KeepHistory"));
    SetItemText(IDC_LOG_PATH, Setting("KeepHistoryPathName"));
    SetChecked(IDC_LOG_BEEP, SettingOn("BeepAfterLTO"));
    SetChecked(IDC_LOG_MESSAGE, SettingOn("MBAfterLTO"));
    EnablePath();
}

void CLogFileTab::Store()
{
    StoreCheck("KeepHistory", IDC_LOG_KEEP_HISTORY);
    StoreCheck("ScheduleOnReboot", IDC_LOG_SCHEDULE_REBOOT);
    StoreCheck("BeepAfterLTO", IDC_LOG_BEEP);
    StoreCheck("MBAfterLTO", IDC_LOG_MESSAGE);
    SetSetting("KeepHistoryPathName", ItemText(IDC_LOG_PATH));
}

void CLogFileTab::EnablePath() const noexcept
{
    EnableItems({IDC_LOG_PATH, IDC_LOG_BROWSE}, IsChecked(IDC_LOG_KEEP_HISTORY));
}
