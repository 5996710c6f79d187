#include "settings/AboutTab.h"

#include "framework/Resources.h"
#include "resources/resource.h"

CAboutTab::CAboutTab(Settings& settings, CWnd& parent) noexcept : CSettingsPage(IDD_ABOUT_TAB, settings, parent) {}

void CAboutTab::Load()
{
    // Maker, the registered-trademark sign, product and version, from the same strings the rest of the program uses.
    SetItemText(IDC_ABOUT_TITLE, LoadStringResource(IDS_MAKER) + "\xAE " + LoadStringResource(IDS_PRODUCT) + " v" +
                                     LoadStringResource(IDS_VERSION));
}
