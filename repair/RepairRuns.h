// Repair runs: one press of a repair button, one Repair of the pop-up, one console fix. Beside its rollback and
// backup files each run leaves one record, "runYYYYMMDDhhmmss_NN.txt", naming every backup file, what it holds
// and, for a shortcut's copy, where the shortcut was; with it the whole run is undone in one step.
#pragma once

#include "engine/RepairAction.h"
#include "registry/UniqueHandle.h"

#include <map>
#include <string>
#include <vector>

class IssueList;

struct RunEntry {
    std::string file;      // the backup file, without the folder
    std::string category;  // the issue's category
    std::string path;      // the full path of what the repair deleted
    std::string issueId;   // the id of the issue it repaired; empty in records written before ids were kept
    bool deleted = true;   // false: the deletion failed, and the entry is left out of the run's restore
    // A shortcut's copy, restored by copying it back to path.
    bool IsFileCopy() const;
};

struct RepairRunInfo {
    std::string id;    // "20261209091500_03": the name of the run's first backup without prefix and extension
    std::string name;  // the record's file name, without the folder
    std::string date;  // "YYYY-MM-DD hh:mm:ss", from the id
    std::vector<RunEntry> entries;
    // The record ends with the line the end of its run writes: a run cut short, or whose record could not be
    // written in full, may have backups the record does not name.
    bool complete = false;
    // The categories of the entries, each once, in the order they first appear.
    std::string Categories() const;
    int DeletedCount() const;
};

// Writes the record of one run as the run goes: the record is made with the first backup and stays open for the
// run, and every backup adds its line at once, so that a run cut short still leaves a record of what it backed up.
// Every write is checked; the first failure is logged.
class RepairRun : public RepairJournal {
public:
    explicit RepairRun(std::string folder = ".") : folder_(std::move(folder)) {}
    void BackupWritten(const std::string& backupFile, const ScanIssue& issue) override;
    void NotDeleted(const std::string& backupFile) override;
    // Ends the record; true when it names every backup of the run (or the run wrote none).
    bool Finish();
    // Both empty until the first backup.
    const std::string& Id() const noexcept { return id_; }
    const std::string& RecordName() const noexcept { return recordName_; }
    // One sentence for the console and the window when the record is not complete.
    std::string IncompleteText() const;

private:
    void Append(const std::string& lines);
    bool Close();
    void NoteWritten(bool done, DWORD error);

    std::string folder_;
    std::string id_;
    std::string recordName_;
    int entries_ = 0;
    bool complete_ = true;
    UniqueFileHandle record_;
};

// The runs recorded in folder, newest first. A record that cannot be read is left out.
std::vector<RepairRunInfo> ListRepairRuns(const std::string& folder);

// The ids of the issues the runs recorded in folder repaired, each with the date of the newest run that did.
std::map<std::string, std::string> RepairedIssueDates(const std::string& folder);
// Marks every issue of list that an earlier run repaired as come back (see CameBackReason): Expert, with the
// date of that repair in its evidence.
void MarkCameBack(const IssueList& list, const std::map<std::string, std::string>& repaired);

// One file to write back: a rollback file, or a shortcut's copy with the place it goes to.
struct RestoreItem {
    std::string file;         // path of the backup
    std::string destination;  // a copy's recorded place; empty for a rollback file
};

// name in folder, as a user sees it: without ".\" for the current folder.
std::string PathInFolder(const std::string& folder, const std::string& name);
// The items of a run that were deleted, each file in folder.
std::vector<RestoreItem> ItemsOfRun(const std::string& folder, const RepairRunInfo& run);

struct BatchRestoreOutcome {
    bool refused = false;            // a file was damaged or a place taken: nothing was written
    int failed = 0;                  // files not fully written back, and a run's incomplete record
    std::vector<std::string> lines;  // one sentence per file
    bool Complete() const { return !refused && failed == 0; }
};

// Writes back the items of a run; a run whose record is not complete is reported so, and is not complete.
BatchRestoreOutcome RestoreRun(const std::string& folder, const RepairRunInfo& run);

// Checks every item first: a damaged rollback file, a missing copy, a copy with no recorded place or whose place
// is taken refuses the whole batch, and nothing is written. Otherwise writes every item back and reports each;
// a copy never goes over an existing file.
BatchRestoreOutcome RestoreItems(const std::vector<RestoreItem>& items);
