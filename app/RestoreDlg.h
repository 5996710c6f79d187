// CRestoreDlg: the window's restore. Lists the repair runs of the current folder, newest first, each with its files
// beneath, then the rollback files that no run lists (written by earlier versions). A run's files, or a single
// file, are written back after a confirmation; a row's check is made once it is chosen, so that opening reads no
// rollback file.
// A modal dialog: it lives on the stack of the menu command that runs it.
#pragma once

#include "framework/Anchors.h"
#include "framework/Dialog.h"
#include "repair/RepairRuns.h"
#include "repair/RollbackFiles.h"

#include <string>
#include <vector>

// The two questions the restore puts to the user; message boxes by default, a script in tests.
class RestorePrompt {
public:
    virtual ~RestorePrompt() = default;
    // True when the user agrees to restore.
    virtual bool Confirm(HWND owner, const std::string& question) = 0;
    virtual void Tell(HWND owner, const std::string& message, bool failed) = 0;
};

class CRestoreDlg : public CDialog {
public:
    // folder: where the rollback files are looked for; prompt: null for message boxes.
    explicit CRestoreDlg(CWnd* parent = nullptr, std::string folder = ".", RestorePrompt* prompt = nullptr);

    // Restores the run or the file of the selected row after the confirmation; false when nothing was restored.
    bool RestoreSelected();

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    BOOL OnInitDialog() override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A run (file.name empty), one of its files, or a rollback file of no run (run -1).
    struct Row {
        int run = -1;
        RollbackFileInfo file;
        std::string destination;  // where a shortcut's copy goes back to
        bool IsRun() const { return run >= 0 && file.name.empty(); }
    };

    void AddColumns() const;
    void FillList();
    void AddRow(Row row, const std::string& date, const std::string& text);
    // Parses the row's file, or every file of its run (once), and shows the counts and the check.
    void CheckRow(int row);
    void OnSelectionChanged();
    int SelectedRow() const noexcept;
    void UpdateRestoreButton() const noexcept;
    bool RestoreRun(const RepairRunInfo& run);
    bool RestoreFile(const Row& row);

    std::string folder_;
    RestorePrompt* prompt_;
    std::vector<RepairRunInfo> runs_;
    std::vector<Row> rows_;
    Anchors anchors_;
};
