// The repair of one issue: write its backup, then delete its key tree, value, file
// or folder.
#pragma once

#include "engine/RepairAction.h"
#include "registry/RegistryKey.h"

#include <windows.h>

#include <string>
#include <vector>

class DeleteAction : public RepairAction {
public:
    void SetProgress(ProgressSink* sink) override { progress_ = sink; }
    ProgressSink* Progress() const override { return progress_; }
    void SetJournal(RepairJournal* journal) override { journal_ = journal; }
    // Registry issues get a new REGEDIT4 file, file issues a copy of the file; a
    // backup that is not complete is not left behind and counts as not written.
    bool WriteBackup(ScanIssue* issue, const std::string& fileName) override;
    // The entry judged again, backup, log line, deletion. True when the target is gone
    // afterwards (also when it was gone already); false when the entry no longer fails
    // as reported, when the backup failed (nothing is deleted then) or the target is
    // still there.
    bool Fix(ScanIssue* issue) override;

protected:
    // Writes part of data to file, reporting how much was written; the place where
    // a full disk shows. Tests replace it.
    virtual bool WriteSome(HANDLE file, const char* data, DWORD size, DWORD* written);

private:
    bool WriteNewFile(const std::string& fileName, const std::string& text);
    static void LogFix(const ScanIssue& issue, const RepairTarget& target, const char* outcome = "");
    bool DeleteTarget(const ScanIssue& issue);

    ProgressSink* progress_ = nullptr;
    RepairJournal* journal_ = nullptr;
    // The keys the last backup holds: a key issue's deletion deletes these and no others.
    std::vector<Ref<RegistryKey>> backedUpTree_;
};
