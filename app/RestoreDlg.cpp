#include "app/RestoreDlg.h"

#include "framework/Dpi.h"
#include "framework/ListView.h"
#include "resources/resource.h"

#include <commctrl.h>

#include <algorithm>
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

// A rollback file's name with the view its keys go to.
std::string NameWithView(const std::string& name, const std::string& view)
{
    return view.empty() ? name : name + ", " + view;
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
    anchors_.Start(GetSafeHwnd());
    anchors_.Tie(IDC_RESTORE_NOTE, Anchors::Grows);
    anchors_.Tie(IDC_RESTORE_LIST, Anchors::Grows | Anchors::GrowsDown);
    anchors_.Tie(IDC_RESTORE_RUN, Anchors::KeepsRight | Anchors::KeepsBottom);
    anchors_.Tie(IDCANCEL, Anchors::KeepsRight | Anchors::KeepsBottom);
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
    const UINT dpi = WindowDpi(GetSafeHwnd());
    for (int i = 0; i < static_cast<int>(std::size(columns)); ++i) {
        list.InsertColumn(i, columns[i].header, columns[i].format, Scaled(columns[i].width, dpi));
    }
}

void CRestoreDlg::FillList()
{
    runs_ = ListRepairRuns(folder_);
    rows_.clear();
    CListCtrl(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST)).DeleteAllItems();
    std::vector<std::string> listed;
    for (int run = 0; run < static_cast<int>(runs_.size()); ++run) {
        const RepairRunInfo& info = runs_[run];
        AddRow({run, {}, {}}, info.date,
               "Repair run, " + std::to_string(info.DeletedCount()) + " file(s)" +
                   (info.complete ? "" : ", incomplete record") + ": " + info.Categories());
        for (const RunEntry& entry : info.entries) {
            listed.push_back(entry.file);
            // What was not deleted has nothing to write back.
            if (!entry.deleted) {
                continue;
            }
            Row row{run, {}, entry.IsFileCopy() ? entry.path : std::string()};
            row.file.name = entry.file;
            const std::string view =
                entry.IsFileCopy() ? std::string() : RollbackViewText(PathInFolder(folder_, entry.file));
            AddRow(row, {}, "    " + NameWithView(entry.file, view));
        }
    }
    for (RollbackFileInfo& file : ListRollbackFiles(folder_)) {
        if (std::find(listed.begin(), listed.end(), file.name) == listed.end()) {
            const std::string date = file.date;
            const std::string name = NameWithView(file.name, file.view);
            AddRow({-1, std::move(file), {}}, date, name);
        }
    }
    if (!rows_.empty()) {
        CListCtrl(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST))
            .SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    OnSelectionChanged();
}

void CRestoreDlg::AddRow(Row row, const std::string& date, const std::string& text)
{
    CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST));
    const int index = static_cast<int>(rows_.size());
    list.InsertItem(index, date);
    list.SetItemText(index, 3, text);
    if (!row.destination.empty()) {
        list.SetItemText(index, 4, "to " + row.destination);
    }
    rows_.push_back(std::move(row));
}

void CRestoreDlg::CheckRow(int row)
{
    CListCtrl list(GetDlgItem(GetSafeHwnd(), IDC_RESTORE_LIST));
    Row& chosen = rows_[row];
    if (chosen.IsRun()) {
        // A run is as sound as its files.
        int keys = 0;
        int values = 0;
        int damaged = 0;
        for (int i = row + 1; i < static_cast<int>(rows_.size()) && rows_[i].run == chosen.run; ++i) {
            CheckRow(i);
            keys += rows_[i].file.keys;
            values += rows_[i].file.values;
            damaged += !rows_[i].file.readable;
        }
        list.SetItemText(row, 1, std::to_string(keys));
        list.SetItemText(row, 2, std::to_string(values));
        list.SetItemText(row, 4, damaged == 0 ? "ok" : std::to_string(damaged) + " file(s) cannot be restored");
        return;
    }
    RollbackFileInfo& file = chosen.file;
    if (file.checked) {
        return;
    }
    if (chosen.destination.empty()) {
        CheckRollbackFile(folder_, file);
    } else {
        // A copy is sound while it is there and its place is free.
        file.checked = true;
        file.readable = GetFileAttributesA((folder_ + "\\" + file.name).c_str()) != INVALID_FILE_ATTRIBUTES &&
                        GetFileAttributesA(chosen.destination.c_str()) == INVALID_FILE_ATTRIBUTES;
        file.error = file.readable ? "" : "cannot go back to " + chosen.destination;
    }
    list.SetItemText(row, 1, file.readable ? std::to_string(file.keys) : "-");
    list.SetItemText(row, 2, file.readable ? std::to_string(file.values) : "-");
    list.SetItemText(row, 4,
                     chosen.destination.empty() || !file.readable ? CheckText(file) : "to " + chosen.destination);
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
    return row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
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
    return rows_[row].IsRun() ? RestoreRun(runs_[rows_[row].run]) : RestoreFile(rows_[row]);
}

bool CRestoreDlg::RestoreRun(const RepairRunInfo& run)
{
    const std::string question = "Write back all " + std::to_string(run.DeletedCount()) +
                                 " file(s) of the repair run of " + run.date + " (" + run.Categories() + ")?";
    if (!prompt_->Confirm(GetSafeHwnd(), question)) {
        return false;
    }
    // The files are read again: they may have changed since the list was made.
    const BatchRestoreOutcome outcome = ::RestoreRun(folder_, run);
    std::string message;
    for (const std::string& line : outcome.lines) {
        message += line + "\n";
    }
    prompt_->Tell(GetSafeHwnd(), message, !outcome.Complete());
    return outcome.Complete();
}

bool CRestoreDlg::RestoreFile(const Row& row)
{
    const RollbackFileInfo& file = row.file;
    const std::string question =
        row.destination.empty()
            ? "Write " + std::to_string(file.keys) + " key(s) and " + std::to_string(file.values) + " value(s) from " +
                  file.name + " back into the registry?"
            : "Copy " + file.name + " back to " + row.destination + "?";
    if (!prompt_->Confirm(GetSafeHwnd(), question)) {
        return false;
    }
    const BatchRestoreOutcome outcome = RestoreItems({{PathInFolder(folder_, file.name), row.destination}});
    prompt_->Tell(GetSafeHwnd(), outcome.lines.empty() ? std::string() : outcome.lines.front(), !outcome.Complete());
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
    anchors_.OnMessage(message, lParam);
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
