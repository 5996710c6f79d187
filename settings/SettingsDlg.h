// CSettingsDlg: the modal options dialog. A list of five pages on the left, the current page under a coloured
// title on the right; the options are loaded from the registry when the object is made and written back only
// when the user confirms with OK and the two folder checks pass.
#pragma once

#include "framework/Anchors.h"
#include "framework/Dialog.h"
#include "settings/SettingsPage.h"
#include "settings/SettingsStore.h"
#include "ui/Label.h"

#include <memory>

class CSettingsDlg : public CDialog {
public:
    // The pages by their place in the page list; any other index shows the About page.
    enum PageIndex { kGeneralPage = 0, kAdvancedPage = 1, kAutoUpdatePage = 2, kIgnorePage = 3, kAboutPage = 4 };

    explicit CSettingsDlg(CWnd* parent = nullptr);
    ~CSettingsDlg() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillPageList() const;
    void ShowPage();
    void ClosePage();
    // Sizes the page to its first size plus what the dialog has grown by.
    void FitPage() const;
    void SelectPageFromList();
    // False, after telling the user, when a folder that an option needs is missing.
    bool CheckFolders() const;
    void OpenHelpPage();

    Settings settings_;
    CLabel title_;
    std::unique_ptr<CSettingsPage> page_;
    // The page's size as the dialog opened; it grows with the dialog.
    SIZE pageSize_{};
    Anchors anchors_;
    int pageIndex_ = kGeneralPage;
};

// The help page for the settings page at index.
std::string SettingsHelpAddress(int pageIndex);
// Opens a help page with the shell; where nothing opens it (no program for web pages), says where the page is.
void ShowHelpPage(HWND owner, const std::string& address);
