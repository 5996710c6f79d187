// CAutoUpdateTab: the "Auto-Update" page. The update options are stored and shown only.
#pragma once

#include "settings/SettingsPage.h"

class CAutoUpdateTab : public CSettingsPage {
public:
    CAutoUpdateTab(Settings& settings, CWnd& parent) noexcept;

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    void Load() override;
    void Store() override;
};
