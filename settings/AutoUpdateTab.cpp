#include "settings/AutoUpdateTab.h"

#include "resources/resource.h"

#include <cctype>
#include <cstdlib>

namespace {

// The interval list's entries and the stored hours of each.
constexpr const char* kIntervalHours[] = {"0", "24", "168", "5040"};
constexpr int kDaily = 1;

// The entry for a stored AutoupdateChecks. The number is read as atoi reads it, but a text that holds no number
// is no interval at all and shows as daily; only an empty text reads as every program start, as an absent one does.
int IntervalEntry(const std::string& stored)
{
    if (stored.empty()) {
        return 0;
    }
    const char* text = stored.c_str();
    while (std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    const char* digits = text + (*text == '+' || *text == '-' ? 1 : 0);
    if (!std::isdigit(static_cast<unsigned char>(*digits))) {
        return kDaily;
    }
    switch (std::strtol(text, nullptr, 10)) {
    case 0:
        return 0;
    case 168:
        return 2;
    case 5040:
        return 3;
    default:
        return kDaily;
    }
}

}  // namespace

CAutoUpdateTab::CAutoUpdateTab(Settings& settings, CWnd& parent) noexcept
    : CSettingsPage(IDD_AUTOUPDATE_TAB, settings, parent)
{
}

bool CAutoUpdateTab::OnCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED && (id == IDC_UPDATE_MANUALLY || id == IDC_UPDATE_AUTOMATICALLY)) {
        EnableItems({IDC_UPDATE_INTERVAL}, id == IDC_UPDATE_AUTOMATICALLY);
        return true;
    }
    return CSettingsPage::OnCommand(id, code, control);
}

void CAutoUpdateTab::Load()
{
    SetChecked(IDC_UPDATE_CONFIRM, SettingOn("AutoupdateConfirmation"));
    const bool manually = SettingOn("AutoupdateManually");
    SetChecked(IDC_UPDATE_MANUALLY, manually);
    SetChecked(IDC_UPDATE_AUTOMATICALLY, !manually);
    EnableItems({IDC_UPDATE_INTERVAL}, !manually);
    ::SendMessageA(Item(IDC_UPDATE_INTERVAL), CB_SETCURSEL, IntervalEntry(Setting("AutoupdateChecks")), 0);
}

void CAutoUpdateTab::Store()
{
    StoreCheck("AutoupdateConfirmation", IDC_UPDATE_CONFIRM);
    StoreCheck("AutoupdateManually", IDC_UPDATE_MANUALLY);
    const auto entry = ::SendMessageA(Item(IDC_UPDATE_INTERVAL), CB_GETCURSEL, 0, 0);
    const bool listed = entry >= 0 && entry < static_cast<LRESULT>(std::size(kIntervalHours));
    SetSetting("AutoupdateChecks", kIntervalHours[listed ? entry : kDaily]);
}
