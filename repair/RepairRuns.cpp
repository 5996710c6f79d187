#include "repair/RepairRuns.h"

#include "engine/IssueList.h"
#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/UniqueHandle.h"
#include "repair/RollbackFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <io.h>

namespace {

constexpr const char* RecordSignature = "Corvadin repair run";
constexpr char Separator = '\t';
// Lines of one separator, which no backup's line has: a deletion that failed, the id of the issue the entry
// before repaired, and the end of the run. Readers that know none of them pass them over.
constexpr const char* NotDeletedMark = "Not deleted";
constexpr const char* IssueIdMark = "id";
constexpr const char* EndMark = "End";

bool EndsWithNoCase(const std::string& text, const char* ending)
{
    const size_t length = strlen(ending);
    return text.size() >= length && lstrcmpiA(text.c_str() + text.size() - length, ending) == 0;
}

// "rollback20261209091500_03.reg" -> "20261209091500_03".
std::string IdOfBackup(const std::string& backupFile)
{
    const size_t first = backupFile.find_first_of("0123456789");
    const size_t dot = backupFile.rfind('.');
    return first == std::string::npos || dot == std::string::npos || dot < first
               ? std::string()
               : backupFile.substr(first, dot - first);
}

// "20261209091500_03" -> "2026-12-09 09:15:00".
std::string DateOfId(const std::string& id)
{
    if (id.size() < 14) {
        return {};
    }
    return id.substr(0, 4) + "-" + id.substr(4, 2) + "-" + id.substr(6, 2) + " " + id.substr(8, 2) + ":" +
           id.substr(10, 2) + ":" + id.substr(12, 2);
}

// A line of one separator: what it says about the entries before it.
void ReadMark(const std::string& mark, const std::string& text, RepairRunInfo& run)
{
    if (mark == NotDeletedMark) {
        for (RunEntry& entry : run.entries) {
            entry.deleted = entry.deleted && entry.file != text;
        }
    } else if (mark == IssueIdMark && !run.entries.empty()) {
        run.entries.back().issueId = text;
    } else if (mark == EndMark) {
        run.complete = text == std::to_string(run.entries.size());
    }
}

// Reads one record; false when it is not a run record.
bool ReadRecord(const std::string& path, RepairRunInfo& run)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line.rfind(RecordSignature, 0) != 0) {
        return false;
    }
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        // The path comes last, so that nothing in it can shift the fields.
        const size_t first = line.find(Separator);
        const size_t second = first == std::string::npos ? first : line.find(Separator, first + 1);
        if (first == std::string::npos) {
            continue;
        }
        if (second == std::string::npos) {
            ReadMark(line.substr(0, first), line.substr(first + 1), run);
            continue;
        }
        run.complete = false;
        run.entries.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                               line.substr(second + 1), {}});
    }
    return true;
}

struct CheckedItem {
    const RestoreItem* item;
    RollbackParseResult parsed;
};

// Empty when the item can be written back; otherwise why not.
std::string Check(const RestoreItem& item, CheckedItem& checked)
{
    if (item.destination.empty() && !EndsWithNoCase(item.file, ".reg")) {
        return item.file + ": no run record says where this copy belongs. Nothing was changed.";
    }
    if (item.destination.empty()) {
        checked.parsed = ParseRollbackFile(item.file);
        return checked.parsed.ok ? std::string() : DescribeRestore(item.file, RestoreParsed(checked.parsed));
    }
    if (GetFileAttributesA(item.file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return item.file + ": the copy cannot be read. Nothing was changed.";
    }
    if (GetFileAttributesA(item.destination.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return item.destination + " exists; a copy is never restored over it. Nothing was changed.";
    }
    const std::string folder = item.destination.substr(0, item.destination.find_last_of('\\') + 1);
    if (folder.empty() || GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return item.destination + ": its folder is gone. Nothing was changed.";
    }
    return {};
}

std::string Write(const CheckedItem& checked, bool& complete)
{
    const RestoreItem& item = *checked.item;
    if (item.destination.empty()) {
        const RestoreOutcome outcome = RestoreParsed(checked.parsed);
        complete = outcome.Complete();
        return DescribeRestore(item.file, outcome);
    }
    complete = CopyFileA(item.file.c_str(), item.destination.c_str(), TRUE) != FALSE;
    return complete ? "Restored " + item.destination + " from " + item.file + "."
                    : "Could not copy " + item.file + " back to " + item.destination + ".";
}

}  // namespace

bool RunEntry::IsFileCopy() const
{
    return EndsWithNoCase(file, ".fso");
}

std::string RepairRunInfo::Categories() const
{
    std::vector<std::string> seen;
    std::string text;
    for (const RunEntry& entry : entries) {
        if (std::find(seen.begin(), seen.end(), entry.category) == seen.end()) {
            seen.push_back(entry.category);
            text += (text.empty() ? "" : ", ") + entry.category;
        }
    }
    return text;
}

int RepairRunInfo::DeletedCount() const
{
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const RunEntry& e) { return e.deleted; }));
}

void RepairRun::BackupWritten(const std::string& backupFile, const ScanIssue& issue)
{
    // A folder's backup holds nothing to write back.
    if (issue.Kind() == FolderIssue) {
        return;
    }
    std::string lines;
    if (recordName_.empty()) {
        id_ = IdOfBackup(backupFile);
        recordName_ = "run" + id_ + ".txt";
        lines = std::string(RecordSignature) + "\r\n";
    }
    const RepairTarget* target = issue.MatchingTarget();
    lines += backupFile + Separator + issue.Source() + Separator + (target ? target->FullPath() : "") + "\r\n" +
             IssueIdMark + Separator + issue.Id() + "\r\n";
    ++entries_;
    Append(lines);
}

void RepairRun::NotDeleted(const std::string& backupFile)
{
    if (!recordName_.empty()) {
        Append(NotDeletedMark + std::string(1, Separator) + backupFile + "\r\n");
    }
}

bool RepairRun::Finish()
{
    // A record with a hole never gets its end: it is listed as incomplete.
    if (complete_ && entries_ > 0) {
        Append(EndMark + std::string(1, Separator) + std::to_string(entries_) + "\r\n");
    }
    return Close();
}

std::string RepairRun::IncompleteText() const
{
    return "The record " + recordName_ + " of this repair run could not be written in full, so the run cannot be "
           "undone in one step; restore its backup files one by one.";
}

void RepairRun::Append(const std::string& lines)
{
    const std::string path = folder_ + "\\" + recordName_;
    // Opened with the first backup and kept for the run; each line is written at once, so that a run cut short
    // still leaves a record of what it backed up.
    if (!record_ && complete_) {
        record_.reset(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    DWORD written = 0;
    const bool done = record_ &&
                      WriteFile(record_.get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) &&
                      written == lines.size();
    NoteWritten(done, done ? ERROR_SUCCESS : GetLastError());
}

bool RepairRun::Close()
{
    // Closing is where a network or removable drive reports a failed write.
    if (record_) {
        const bool closed = CloseHandle(record_.release()) != FALSE;
        NoteWritten(closed, closed ? ERROR_SUCCESS : GetLastError());
    }
    return complete_;
}

void RepairRun::NoteWritten(bool done, DWORD error)
{
    if (!done && complete_) {
        OperationLog::Write("Repair run " + id_ + ": the record " + folder_ + "\\" + recordName_ +
                            " could not be written (error " + std::to_string(error) +
                            "); restore its backup files one by one");
    }
    complete_ = complete_ && done;
}

std::vector<RepairRunInfo> ListRepairRuns(const std::string& folder)
{
    std::vector<RepairRunInfo> runs;
    _finddata_t entry{};
    UniqueFindHandle search(_findfirst((folder + "\\run*.txt").c_str(), &entry));
    for (bool more = search.valid(); more; more = _findnext(search.get(), &entry) == 0) {
        RepairRunInfo run;
        run.name = entry.name;
        run.id = IdOfBackup(run.name);
        run.date = DateOfId(run.id);
        if (!(entry.attrib & _A_SUBDIR) && !run.date.empty() && ReadRecord(folder + "\\" + run.name, run)) {
            runs.push_back(std::move(run));
        }
    }
    // The id starts with the time, and its counter orders runs of the same second.
    std::sort(runs.begin(), runs.end(), [](const RepairRunInfo& a, const RepairRunInfo& b) { return a.id > b.id; });
    return runs;
}

std::map<std::string, std::string> RepairedIssueDates(const std::string& folder)
{
    std::map<std::string, std::string> repaired;
    // Newest first: the first date met for an id is its latest repair.
    for (const RepairRunInfo& run : ListRepairRuns(folder)) {
        for (const RunEntry& entry : run.entries) {
            if (entry.deleted && !entry.issueId.empty()) {
                repaired.emplace(entry.issueId, run.date);
            }
        }
    }
    return repaired;
}

void MarkCameBack(const IssueList& list, const std::map<std::string, std::string>& repaired)
{
    if (repaired.empty()) {
        return;
    }
    for (int i = 0; i < list.Count(); ++i) {
        ScanIssue& issue = *list.At(i);
        const auto found = repaired.find(issue.Id());
        if (found != repaired.end()) {
            issue.AddLook({"repair of " + found->second, "came back after the repair of " + found->second});
            issue.SetGrade(Grade::Expert, CameBackReason);
        }
    }
}

std::string PathInFolder(const std::string& folder, const std::string& name)
{
    return folder == "." ? name : folder + "\\" + name;
}

std::vector<RestoreItem> ItemsOfRun(const std::string& folder, const RepairRunInfo& run)
{
    std::vector<RestoreItem> items;
    for (const RunEntry& entry : run.entries) {
        if (entry.deleted) {
            items.push_back({PathInFolder(folder, entry.file), entry.IsFileCopy() ? entry.path : std::string()});
        }
    }
    return items;
}

BatchRestoreOutcome RestoreRun(const std::string& folder, const RepairRunInfo& run)
{
    BatchRestoreOutcome outcome = RestoreItems(ItemsOfRun(folder, run));
    if (!run.complete) {
        outcome.failed += 1;
        outcome.lines.push_back("The record " + run.name + " is incomplete: other backup files of this run may be "
                                "in the folder; restore them one by one.");
    }
    return outcome;
}

BatchRestoreOutcome RestoreItems(const std::vector<RestoreItem>& items)
{
    BatchRestoreOutcome outcome;
    std::vector<CheckedItem> checked;
    for (const RestoreItem& item : items) {
        checked.push_back({&item, {}});
        const std::string problem = Check(item, checked.back());
        if (!problem.empty()) {
            outcome.refused = true;
            outcome.lines.push_back(problem);
        }
    }
    if (outcome.refused) {
        return outcome;
    }
    for (const CheckedItem& item : checked) {
        bool complete = false;
        outcome.lines.push_back(Write(item, complete));
        outcome.failed += !complete;
    }
    return outcome;
}
