// What the main window asks to repair one issue: back it up, then delete its target.
#pragma once

#include <string>

class ProgressSink;
class ScanIssue;

class RepairAction {
public:
    virtual ~RepairAction() = default;
    virtual void SetProgress(ProgressSink* sink) = 0;
    virtual ProgressSink* Progress() const = 0;
    // Writes the backup of issue's target to fileName; false when it is not complete.
    virtual bool WriteBackup(ScanIssue* issue, const std::string& fileName) = 0;
    // Backup first, then delete; true when the issue counts as repaired.
    virtual bool Fix(ScanIssue* issue) = 0;
};

// Replaces the process-wide repair action with a fresh one.
RepairAction* CreateRepairAction();
