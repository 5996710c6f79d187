// CSettingsPage: one page of the settings dialog, a child dialog that fills its controls from the dialog's
// settings when its window is made and puts its values back when it is closed.
#pragma once

#include "framework/Dialog.h"
#include "settings/SettingsStore.h"

#include <initializer_list>
#include <memory>
#include <string>

class CSettingsPage : public CDialog {
public:
    CSettingsPage(UINT templateId, Settings& settings, CWnd& parent) noexcept;

    // Stores the page's values into the settings, then destroys the window; does nothing without a window.
    void Close();

protected:
    BOOL OnInitDialog() override;
    // Enter and Escape inside a page stand for the settings dialog's own OK and Cancel.
    void OnOK() override;
    void OnCancel() override;

    virtual void Load() = 0;
    virtual void Store() = 0;

    // The stored text of name, empty when absent.
    std::string Setting(const std::string& name) const;
    void SetSetting(const std::string& name, const std::string& text) const { settings_[name] = text; }
    // Flags read on exactly when their number is 1, and are stored as "1" or "0".
    bool SettingOn(const std::string& name) const { return IsFlagOn(Setting(name)); }
    void StoreCheck(const std::string& name, UINT checkBox) const;

    HWND Item(UINT id) const noexcept { return GetDlgItem(GetSafeHwnd(), static_cast<int>(id)); }
    bool IsChecked(UINT id) const noexcept;
    void SetChecked(UINT id, bool checked) const noexcept;
    void EnableItems(std::initializer_list<UINT> ids, bool enable) const noexcept;
    std::string ItemText(UINT id) const;
    void SetItemText(UINT id, const std::string& text) const noexcept;
    // Keeps typing in an edit box within the longest text the settings loader reads back: a longer value would end
    // the loading, and every option after it would be lost.
    void LimitToStorableText(UINT edit) const noexcept;

private:
    void ForwardToParent(UINT command) const noexcept;

    Settings& settings_;
    CWnd& parent_;
};

// The page at index of the settings dialog (0 General, 1 Advanced, 2 Auto-Update, 3 Ignore List, any other About), its window
// made as a hidden child of parent; null when the window cannot be made.
std::unique_ptr<CSettingsPage> CreateSettingsPage(int index, Settings& settings, CWnd& parent);
// The title the dialog shows above the page at index.
const char* SettingsPageName(int index) noexcept;
