// CLogFileTab: the "Advanced" page: the history log and its folder, the notices at the end of long operations,
// and the scan at the next start of Windows.
#pragma once

#include "settings/SettingsPage.h"

class CLogFileTab : public CSettingsPage {
public:
    CLogFileTab(Settings& settings, CWnd& parent) noexcept;

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    void Load() override;
    void Store() override;

private:
    void EnablePath() const noexcept;
};
