// CIgnoreTab: the "Ignore List" page: the entries scans leave out, each removable. A removal takes effect at once,
// as the entry goes from the registry; the page stores no option of its own.
#pragma once

#include "engine/IgnoreList.h"
#include "framework/Anchors.h"
#include "settings/SettingsPage.h"

class CIgnoreTab : public CSettingsPage {
public:
    CIgnoreTab(Settings& settings, CWnd& parent) noexcept;

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    void Load() override;
    void Store() override {}
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Lists the entries read anew; values that hold no entry are not listed.
    void Fill();
    void RemoveSelected();

    IgnoreList ignored_;
    // The list grows with the page, which grows with the settings dialog.
    Anchors anchors_;
};
