// CGeneralTab: the "General" page: what a scan covers (the ticked drives, the registry, the ticked categories)
// and where copies of deleted files go.
#pragma once

#include "settings/SettingsPage.h"
#include "ui/DriveTreeView.h"

class CGeneralTab : public CSettingsPage {
public:
    CGeneralTab(Settings& settings, CWnd& parent) noexcept;

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    void Load() override;
    void Store() override;

private:
    void EnableDependents() const noexcept;
    void LoadCategories() const;

    CDriveTreeView tree_;
};
