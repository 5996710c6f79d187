#include "settings/SettingsDlg.h"

#include "framework/ImageList.h"
#include "framework/ListView.h"
#include "framework/Resources.h"
#include "resources/resource.h"
#include "settings/FolderBrowser.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>

namespace {

// In dialog units, so that a page stays right of the list and below the title whatever the DPI makes of them:
// pixel (99, 53) at 96 DPI.
constexpr POINT kPagePosition = {66, 33};
constexpr UINT kPageIcons[] = {IDI_PAGE_GENERAL, IDI_PAGE_ADVANCED, IDI_PAGE_AUTOUPDATE, IDI_PAGE_IGNORE,
                               IDI_PAGE_ABOUT};

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Lookup(const Settings& settings, const char* name)
{
    const auto found = settings.find(name);
    return found == settings.end() ? std::string() : found->second;
}

}  // namespace

std::string SettingsHelpAddress(int pageIndex)
{
    switch (pageIndex) {
    case CSettingsDlg::kGeneralPage:
        return HelpPageAddress(IDS_HELP_GENERAL);
    case CSettingsDlg::kAdvancedPage:
        return HelpPageAddress(IDS_HELP_LOG);
    case CSettingsDlg::kAutoUpdatePage:
        return HelpPageAddress(IDS_HELP_UPDATE);
    default:
        return HelpPageAddress(IDS_HELP_CONTEXT);
    }
}

void ShowHelpPage(HWND owner, const std::string& address)
{
    // ShellExecute reports success as a value above 32.
    if (reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", address.c_str(), nullptr, ".", SW_SHOWNORMAL)) > 32) {
        return;
    }
    const std::string message = "The help page could not be opened: no program is set to open web pages.\n\n"
                                "Open it with a web browser: " + address;
    MessageBoxA(owner, message.c_str(), "Corvadin", MB_OK | MB_ICONINFORMATION);
}

CSettingsDlg::CSettingsDlg(CWnd* parent) : CDialog(IDD_SETTINGS, parent)
{
    LoadSettings(settings_);
}

CSettingsDlg::~CSettingsDlg() = default;

BOOL CSettingsDlg::OnInitDialog()
{
    SetWindowText(LoadStringResource(IDS_PRODUCT) + " settings");
    title_.SubclassDlgItem(IDC_PAGE_TITLE, GetSafeHwnd());
    FillPageList();
    pageIndex_ = kGeneralPage;
    const CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_PAGE_LIST));
    list.SetItemState(pageIndex_, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    anchors_.Start(GetSafeHwnd());
    anchors_.Tie(IDC_PAGE_LIST, Anchors::GrowsDown);
    anchors_.Tie(IDC_PAGE_TITLE, Anchors::Grows);
    anchors_.Tie(IDC_SETTINGS_RULE, Anchors::Grows | Anchors::KeepsBottom);
    anchors_.Tie(IDOK, Anchors::KeepsRight | Anchors::KeepsBottom);
    anchors_.Tie(IDCANCEL, Anchors::KeepsRight | Anchors::KeepsBottom);
    ShowPage();
    return FALSE;
}

void CSettingsDlg::FillPageList() const
{
    const HWND list = GetDlgItem(GetSafeHwnd(), IDC_PAGE_LIST);
    CImageList images;
    images.Create(32, 32, ILC_COLOR8 | ILC_MASK, static_cast<int>(std::size(kPageIcons)), 0);
    for (UINT icon : kPageIcons) {
        images.Add(LoadIconResource(icon, 32).get());
    }
    // Without the shared-lists style the list view destroys its image list itself.
    ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images.Detach()));
    for (int index = kGeneralPage; index <= kAboutPage; ++index) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.iImage = index;
        item.pszText = const_cast<char*>(SettingsPageName(index));
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void CSettingsDlg::ShowPage()
{
    ClosePage();
    page_ = CreateSettingsPage(pageIndex_, settings_, *this);
    title_.SetWindowText(SettingsPageName(pageIndex_));
    title_.Invalidate(true);
    if (page_) {
        RECT place{kPagePosition.x, kPagePosition.y, kPagePosition.x, kPagePosition.y};
        MapDialogRect(GetSafeHwnd(), &place);
        SetWindowPos(page_->GetSafeHwnd(), nullptr, place.left, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        RECT size{};
        GetWindowRect(page_->GetSafeHwnd(), &size);
        pageSize_ = {size.right - size.left, size.bottom - size.top};
        FitPage();
    }
    SetFocus(GetDlgItem(GetSafeHwnd(), IDC_PAGE_LIST));
}

void CSettingsDlg::ClosePage()
{
    if (page_) {
        page_->Close();
        page_.reset();
    }
}

void CSettingsDlg::SelectPageFromList()
{
    const CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_PAGE_LIST));
    const int selected = list.GetNextItem(-1, LVNI_SELECTED);
    if (selected != pageIndex_) {
        pageIndex_ = selected;
        ShowPage();
    }
}

void CSettingsDlg::OnOK()
{
    ClosePage();
    if (!CheckFolders()) {
        ShowPage();
        return;
    }
    SaveSettings(settings_);
    ApplyRebootSchedule();
    CDialog::OnOK();
}

bool CSettingsDlg::CheckFolders() const
{
    if (IsFlagOn(Lookup(settings_, "KeepHistory")) && !FolderExists(Lookup(settings_, "KeepHistoryPathName"))) {
        MessageBoxA(GetSafeHwnd(),
                    "You must specify correct location for program log files. If you don't need program log to "
                    "maintain, make sure switching off this option.",
                    "Error", MB_OK);
        return false;
    }
    const std::string deletedFiles = Lookup(settings_, "KeepDeletedFilesPathName");
    if (IsFlagOn(Lookup(settings_, "KeepDeletedFiles")) && !FolderExists(deletedFiles) &&
        !IsRecycleBinName(deletedFiles.c_str())) {
        MessageBoxA(GetSafeHwnd(),
                    "You must specify correct location for deleted files. If you don't need to keep those files, "
                    "make sure switching off this option.",
                    "Error", MB_OK);
        return false;
    }
    return true;
}

void CSettingsDlg::OpenHelpPage()
{
    // The frame is drawn again at once: the help button must not stay pressed while the browser starts.
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    ShowHelpPage(GetSafeHwnd(), SettingsHelpAddress(pageIndex_));
}

void CSettingsDlg::FitPage() const
{
    if (page_) {
        const SIZE growth = anchors_.Growth();
        SetWindowPos(page_->GetSafeHwnd(), nullptr, 0, 0, pageSize_.cx + growth.cx, pageSize_.cy + growth.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::optional<LRESULT> CSettingsDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    anchors_.OnMessage(message, lParam);
    switch (message) {
    case WM_SIZE:
        FitPage();
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        const bool spacePressed = header->code == LVN_KEYDOWN &&
                                  reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_SPACE;
        if (header->idFrom == IDC_PAGE_LIST && (header->code == NM_CLICK || header->code == NM_RCLICK || spacePressed)) {
            SelectPageFromList();
            return 0;
        }
        break;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
            OpenHelpPage();
            return 0;
        }
        break;
    case WM_DESTROY:
        // The page goes with the dialog's window; its values are kept only by OK.
        page_.reset();
        break;
    default:
        break;
    }
    return CDialog::HandleMessage(message, wParam, lParam);
}
