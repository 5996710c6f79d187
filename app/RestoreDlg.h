// CRestoreDlg: the window's restore. Lists the rollback files of the current folder (date and name; a file's number
// of keys and values and its check once it is chosen, so that opening reads no file) and, after a confirmation,
// writes the chosen one back into the registry through the rollback reader.
// A modal dialog: it lives on the stack of the menu command that runs it.
#pragma once

#include "framework/Dialog.h"
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

    // The files as listed, row by row.
    const std::vector<RollbackFileInfo>& Files() const noexcept { return files_; }
    // Restores the file of the selected row after the confirmation; false when nothing was restored.
    bool RestoreSelected();

    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    BOOL OnInitDialog() override;
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AddColumns() const;
    void FillList();
    // Parses the row's file (once) and shows its counts and check.
    void CheckRow(int row);
    void OnSelectionChanged();
    int SelectedRow() const noexcept;
    void UpdateRestoreButton() const noexcept;

    std::string folder_;
    RestorePrompt* prompt_;
    std::vector<RollbackFileInfo> files_;
};
