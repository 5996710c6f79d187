// What the main window asks to repair one issue: back it up, then delete its target.
#pragma once

#include <string>

class ProgressSink;
class ScanIssue;

// Told of every backup a repair run writes, so that the whole run can be undone in one step.
class RepairJournal {
public:
    virtual ~RepairJournal() = default;
    // The backup of issue's target is complete in backupFile, and the target is about to be deleted.
    virtual void BackupWritten(const std::string& backupFile, const ScanIssue& issue) = 0;
    // The deletion after backupFile failed: the target is still there, so there is nothing to write back.
    virtual void NotDeleted(const std::string& backupFile) = 0;
};

class RepairAction {
public:
    virtual ~RepairAction() = default;
    virtual void SetProgress(ProgressSink* sink) = 0;
    virtual ProgressSink* Progress() const = 0;
    // The run the next repairs belong to; null for none.
    virtual void SetJournal(RepairJournal* journal) = 0;
    // Writes the backup of issue's target to fileName; false when it is not complete.
    virtual bool WriteBackup(ScanIssue* issue, const std::string& fileName) = 0;
    // Backup first, then delete; true when the issue counts as repaired.
    virtual bool Fix(ScanIssue* issue) = 0;
};

// Replaces the process-wide repair action with a fresh one.
RepairAction* CreateRepairAction();
