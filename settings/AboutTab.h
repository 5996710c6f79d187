// CAboutTab: the "About" page: the product, its version and the legal notices. It takes no input and stores
// nothing.
#pragma once

#include "settings/SettingsPage.h"

class CAboutTab : public CSettingsPage {
public:
    CAboutTab(Settings& settings, CWnd& parent) noexcept;

protected:
    void Load() override;
    void Store() override {}
};
