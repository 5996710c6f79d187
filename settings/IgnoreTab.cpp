#include "settings/IgnoreTab.h"

#include "framework/Dpi.h"
#include "framework/ListView.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int CategoryWidth = 90;

}  // namespace

CIgnoreTab::CIgnoreTab(Settings& settings, CWnd& parent) noexcept : CSettingsPage(IDD_IGNORE_TAB, settings, parent)
{
}

void CIgnoreTab::Load()
{
    const CListCtrl list(Item(IDC_IGNORE_LIST));
    // A path cut short by the column shows whole under the pointer.
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    list.InsertColumn(0, "Category", LVCFMT_LEFT, Scaled(CategoryWidth, WindowDpi(GetSafeHwnd())));
    list.InsertColumn(1, "Entry", LVCFMT_LEFT, 0);
    Fill();
    anchors_.Start(GetSafeHwnd());
    anchors_.Tie(IDC_IGNORE_NOTE, Anchors::Grows);
    anchors_.Tie(IDC_IGNORE_LIST, Anchors::Grows | Anchors::GrowsDown);
    anchors_.Tie(IDC_IGNORE_REMOVE, Anchors::KeepsRight | Anchors::KeepsBottom);
}

void CIgnoreTab::Fill()
{
    ignored_ = IgnoreList::Load(HKEY_LOCAL_MACHINE, IgnoreListKeyPath());
    const CListCtrl list(Item(IDC_IGNORE_LIST));
    list.DeleteAllItems();
    int row = 0;
    for (const IgnoredEntry& entry : ignored_.Entries()) {
        const int added = list.InsertItem(row, entry.category, row);
        list.SetItemText(added, 1, entry.ShownTarget());
        ++row;
    }
    // As wide as the longest path, so that it can be scrolled into view; the list's width at least.
    const HWND control = list.GetSafeHwnd();
    RECT client{};
    ::GetClientRect(control, &client);
    ::SendMessageA(control, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE);
    const auto width = static_cast<int>(::SendMessageA(control, LVM_GETCOLUMNWIDTH, 1, 0));
    const int category = static_cast<int>(::SendMessageA(control, LVM_GETCOLUMNWIDTH, 0, 0));
    ::SendMessageA(control, LVM_SETCOLUMNWIDTH, 1, std::max<LPARAM>(width, client.right - category));
    EnableItems({IDC_IGNORE_REMOVE}, false);
}

void CIgnoreTab::RemoveSelected()
{
    const CListCtrl list(Item(IDC_IGNORE_LIST));
    std::vector<IgnoredEntry> chosen;
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        const auto index = static_cast<size_t>(list.GetItemData(row));
        if (index < ignored_.Entries().size()) {
            chosen.push_back(ignored_.Entries()[index]);
        }
    }
    bool refused = false;
    for (const IgnoredEntry& entry : chosen) {
        refused = !ignored_.Remove(entry) || refused;
    }
    Fill();
    if (refused) {
        MessageBoxA(GetSafeHwnd(), "Some entries could not be removed: changing the ignore list needs administrator "
                                   "rights.",
                    "Corvadin", MB_OK | MB_ICONWARNING);
    }
}

bool CIgnoreTab::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_IGNORE_REMOVE && code == BN_CLICKED) {
        RemoveSelected();
        return true;
    }
    return CSettingsPage::OnCommand(id, code, control);
}

std::optional<LRESULT> CIgnoreTab::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    anchors_.OnMessage(message, lParam);
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_IGNORE_LIST && header->code == LVN_ITEMCHANGED) {
            EnableItems({IDC_IGNORE_REMOVE}, CListCtrl(Item(IDC_IGNORE_LIST)).GetNextItem(-1, LVNI_SELECTED) >= 0);
        }
    }
    return CSettingsPage::HandleMessage(message, wParam, lParam);
}
