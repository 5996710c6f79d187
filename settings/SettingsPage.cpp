#include "settings/SettingsPage.h"

#include "settings/AboutTab.h"
#include "settings/AutoUpdateTab.h"
#include "settings/GeneralTab.h"
#include "settings/IgnoreTab.h"
#include "settings/LogFileTab.h"

CSettingsPage::CSettingsPage(UINT templateId, Settings& settings, CWnd& parent) noexcept
    : CDialog(templateId, &parent), settings_(settings), parent_(parent)
{
}

void CSettingsPage::Close()
{
    if (!IsWindow()) {
        return;
    }
    Store();
    DestroyWindow();
}

BOOL CSettingsPage::OnInitDialog()
{
    Load();
    return TRUE;
}

void CSettingsPage::OnOK()
{
    ForwardToParent(IDOK);
}

void CSettingsPage::OnCancel()
{
    ForwardToParent(IDCANCEL);
}

void CSettingsPage::ForwardToParent(UINT command) const noexcept
{
    // Posted, not sent: the dialog's OK closes this page, which must not happen inside the page's own handler.
    if (parent_.IsWindow()) {
        PostMessageA(parent_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    }
}

std::string CSettingsPage::Setting(const std::string& name) const
{
    const auto found = settings_.find(name);
    return found == settings_.end() ? std::string() : found->second;
}

void CSettingsPage::StoreCheck(const std::string& name, UINT checkBox) const
{
    SetSetting(name, IsChecked(checkBox) ? "1" : "0");
}

bool CSettingsPage::IsChecked(UINT id) const noexcept
{
    return IsDlgButtonChecked(GetSafeHwnd(), static_cast<int>(id)) == BST_CHECKED;
}

void CSettingsPage::SetChecked(UINT id, bool checked) const noexcept
{
    CheckDlgButton(GetSafeHwnd(), static_cast<int>(id), checked ? BST_CHECKED : BST_UNCHECKED);
}

void CSettingsPage::EnableItems(std::initializer_list<UINT> ids, bool enable) const noexcept
{
    for (UINT id : ids) {
        ::EnableWindow(Item(id), enable);
    }
}

std::string CSettingsPage::ItemText(UINT id) const
{
    const HWND item = Item(id);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CSettingsPage::SetItemText(UINT id, const std::string& text) const noexcept
{
    ::SetWindowTextA(Item(id), text.c_str());
}

void CSettingsPage::LimitToStorableText(UINT edit) const noexcept
{
    // The loader's data buffer holds 16384 bytes, the terminating zero included.
    constexpr WPARAM kLongestStoredText = 16383;
    ::SendMessageA(Item(edit), EM_LIMITTEXT, kLongestStoredText, 0);
}

std::unique_ptr<CSettingsPage> CreateSettingsPage(int index, Settings& settings, CWnd& parent)
{
    std::unique_ptr<CSettingsPage> page;
    switch (index) {
    case 0:
        page = std::make_unique<CGeneralTab>(settings, parent);
        break;
    case 1:
        page = std::make_unique<CLogFileTab>(settings, parent);
        break;
    case 2:
        page = std::make_unique<CAutoUpdateTab>(settings, parent);
        break;
    case 3:
        page = std::make_unique<CIgnoreTab>(settings, parent);
        break;
    default:
        page = std::make_unique<CAboutTab>(settings, parent);
        break;
    }
    return page->Create() ? std::move(page) : nullptr;
}

const char* SettingsPageName(int index) noexcept
{
    switch (index) {
    case 0:
        return "General";
    case 1:
        return "Advanced";
    case 2:
        return "Auto-Update";
    case 3:
        return "Ignore List";
    default:
        return "About";
    }
}
