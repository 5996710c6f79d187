#include "app/RestoreDlg.h"

#include "framework/ListView.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

namespace {

class MessageBoxPrompt : public RestorePrompt {
public:
    bool Confirm(HWND owner, const std::string& question) override
    {
        return MessageBoxA(owner, question.c_str(), "Corvadin", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    }
    void Tell(HWND owner, const std::string& message, bool failed) override
    {
        MessageBoxA(owner, message.c_str(), "Corvadin", MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
    }
};

RestorePrompt& DefaultPrompt()
{
    static MessageBoxPrompt prompt;
    return prompt;
}

std::string CheckText(const RollbackFileInfo& file)
{
    if (!file.checked || file.readable) {
        return file.checked ? "ok" : "";
    }
    return (file.errorLine > 0 ? "line " + std::to_string(file.errorLine) + ": " : std::string()) + file.error;
}

}  // namespace

CRestoreDlg::CRestoreDlg(CWnd* parent, std::string folder, RestorePrompt* prompt)
    : CDialog(IDD_RESTORE, parent), folder_(std::move(folder)), prompt_(prompt ? prompt : &DefaultPrompt())
{
}

BOOL CRestoreDlg::OnInitDialog()
{
    CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST));
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    AddColumns();
    FillList();
    return TRUE;
}

void CRestoreDlg::AddColumns() const
{
    struct Column {
        const char* header;
        int format;
        int width;
    };
    static const Column columns[] = {
        {"Date", LVCFMT_LEFT, 115}, {"Keys", LVCFMT_RIGHT, 40}, {"Values", LVCFMT_RIGHT, 45},
        {"File", LVCFMT_LEFT, 170}, {"Check", LVCFMT_LEFT, 130},
    };
    CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST));
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        list.InsertColumn(i, columns[i].header, columns[i].format, columns[i].width);
    }
}

void CRestoreDlg::FillList()
{
    files_ = ListRollbackFiles(folder_);
    CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST));
    list.DeleteAllItems();
    for (int row = 0; row < static_cast<int>(files_.size()); ++row) {
        list.InsertItem(row, files_[row].date);
        list.SetItemText(row, 3, files_[row].name);
    }
    if (!files_.empty()) {
        list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    OnSelectionChanged();
}

void CRestoreDlg::CheckRow(int row)
{
    RollbackFileInfo& file = files_[row];
    if (file.checked) {
        return;
    }
    CheckRollbackFile(folder_, file);
    CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST));
    list.SetItemText(row, 1, file.readable ? std::to_string(file.keys) : "-");
    list.SetItemText(row, 2, file.readable ? std::to_string(file.values) : "-");
    list.SetItemText(row, 4, CheckText(file));
}

void CRestoreDlg::OnSelectionChanged()
{
    if (const int row = SelectedRow(); row >= 0) {
        CheckRow(row);
    }
    UpdateRestoreButton();
}

int CRestoreDlg::SelectedRow() const noexcept
{
    const int row = CListCtrl(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST)).GetNextItem(-1, LVNI_SELECTED);
    return row >= 0 && row < static_cast<int>(files_.size()) ? row : -1;
}

void CRestoreDlg::UpdateRestoreButton() const noexcept
{
    ::EnableWindow(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_RUN), SelectedRow() >= 0);
}

bool CRestoreDlg::RestoreSelected()
{
    const int row = SelectedRow();
    if (row < 0) {
        return false;
    }
    CheckRow(row);
    const RollbackFileInfo& file = files_[row];
    const std::string question = "Write " + std::to_string(file.keys) + " key(s) and " + std::to_string(file.values) +
                                 " value(s) from " + file.name + " back into the registry?";
    if (!prompt_->Confirm(GetSafeHwnd(), question)) {
        return false;
    }
    // The file is read again: it may have changed since the list was made.
    const RestoreOutcome outcome = RestoreRollbackFile(folder_ + "\\" + file.name);
    prompt_->Tell(GetSafeHwnd(), DescribeRestore(file.name, outcome), !outcome.Complete());
    return outcome.Complete();
}

bool CRestoreDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_RESTORE_RUN) {
        RestoreSelected();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

std::optional<LRESULT> CRestoreDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_RESTORE_LIST && header->code == LVN_ITEMCHANGED) {
            OnSelectionChanged();
        } else if (header->idFrom == IDC_RESTORE_LIST && header->code == NM_DBLCLK) {
            RestoreSelected();
        }
    }
    return CDialog::HandleMessage(message, wParam, lParam);
}
