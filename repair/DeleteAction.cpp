#include "repair/DeleteAction.h"

#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "repair/BackupName.h"
#include "repair/RegistryDeleter.h"
#include "repair/RegistryExporter.h"
#include "repair/ServiceRemoval.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

LONGLONG SizeOfFile(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return static_cast<LONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// A byte copy under a name that is not taken yet: an earlier backup of that name
// is never overwritten, and a copy that did not complete is removed.
bool CopyToNewFile(const std::string& source, const std::string& fileName)
{
    if (GetFileAttributesA(fileName.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if (!CopyFileA(source.c_str(), fileName.c_str(), TRUE)) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            DeleteFileA(fileName.c_str());
        }
        return false;
    }
    UniqueFileHandle copy(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER copied{};
    const bool complete = copy && GetFileSizeEx(copy.get(), &copied) && copied.QuadPart == SizeOfFile(source);
    copy.reset();
    if (!complete) {
        DeleteFileA(fileName.c_str());
    }
    return complete;
}

// The REGEDIT4 text of the issue's registry target; kinds without one get the
// signature alone. tree receives the keys the text holds.
std::string RollbackText(const ScanIssue& issue, bool& complete, std::vector<Ref<RegistryKey>>& tree)
{
    RegistryExporter exporter;
    if (RepairTarget* target = issue.MatchingTarget()) {
        if (RegistryKey* key = target->AsRegistryKey()) {
            exporter.OnKey(key);
        } else if (RegistryValue* value = target->AsRegistryValue(); value && value->Key()) {
            // Read again: the backup holds what the repair deletes, not what the scan saw.
            const Ref<RegistryKey> key = value->Key()->Fresh();
            const Ref<RegistryValue> now(new RegistryValue(value->Name(), key.get()));
            exporter.AddKeyHeader(*key);
            exporter.OnValue(now.get());
        }
    }
    complete = exporter.IsComplete();
    tree = exporter.Keys();
    return exporter.Text();
}

}  // namespace

bool DeleteAction::WriteSome(HANDLE file, const char* data, DWORD size, DWORD* written)
{
    return WriteFile(file, data, size, written, nullptr) != FALSE;
}

// Creates fileName (never over an existing file) holding exactly text. On any
// failure the partial file is removed, so no file means no backup.
bool DeleteAction::WriteNewFile(const std::string& fileName, const std::string& text)
{
    UniqueFileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    bool written = true;
    for (size_t done = 0; written && done < text.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
        DWORD wrote = 0;
        written = WriteSome(file.get(), text.data() + done, chunk, &wrote) && wrote > 0 && wrote <= chunk;
        done += wrote;
    }
    // Closing is the last chance for a network or removable drive to report a failure.
    written = CloseHandle(file.release()) && written;
    if (!written) {
        DeleteFileA(fileName.c_str());
    }
    return written;
}

bool DeleteAction::WriteBackup(ScanIssue* issue, const std::string& fileName)
{
    if (!issue) {
        return false;
    }
    if (issue->Kind() == FileIssue) {
        const RepairTarget* file = issue->MatchingTarget();
        return file && CopyToNewFile(file->FullPath(), fileName);
    }
    bool complete = false;
    const std::string text = RollbackText(*issue, complete, backedUpTree_);
    return complete && WriteNewFile(fileName, text);
}

void DeleteAction::LogFix(const ScanIssue& issue, const RepairTarget& target, const char* outcome)
{
    OperationLog::Write("Fix \"" + issue.Source() + "\":" + target.FullPath() + ViewMark(target.View()) + outcome);
}

bool DeleteAction::DeleteTarget(const ScanIssue& issue)
{
    RepairTarget* target = issue.MatchingTarget();
    if (!target) {
        return true;
    }
    const std::string path = target->FullPath();
    LogFix(issue, *target);
    switch (issue.Kind()) {
    case KeyIssue:
        // The service manager must forget a service along with its key.
        if (IsServiceKey(*target->AsRegistryKey())) {
            RemoveService(*target->AsRegistryKey(), backedUpTree_);
        } else if (DeleteKeys(backedUpTree_)) {
            return true;
        }
        break;
    case ValueIssue:
        if (DeleteValue(*target->AsRegistryValue())) {
            return true;
        }
        break;
    case FileIssue:
        DeleteFileA(path.c_str());
        break;
    case FolderIssue:
        RemoveDirectoryA(path.c_str());
        break;
    default:
        break;
    }
    return target->IsGone();
}

bool DeleteAction::Fix(ScanIssue* issue)
{
    if (!issue) {
        return false;
    }
    Ref<ScanIssue> held(issue);
    // Only this issue's own backup may say which keys go.
    backedUpTree_.clear();
    const RepairTarget* target = issue->MatchingTarget();
    if (target) {
        switch (issue->Rejudge()) {
        case Rejudged::Gone:
            // Nothing is left to delete nor to back up: a backup of what the scan saw would bring back an entry that
            // was removed since. Nor is anything deleted: whatever appears there meanwhile has no backup.
            LogFix(*issue, *target);
            return true;
        case Rejudged::Changed:
            // An entry mended or rewritten since the scan is not what the user chose to delete.
            LogFix(*issue, *target, " changed since the scan; left alone");
            return false;
        case Rejudged::StillFails:
            break;
        }
    }
    const std::string backupName = NextBackupName(issue->Kind());
    if (!WriteBackup(issue, backupName)) {
        return false;
    }
    if (journal_) {
        journal_->BackupWritten(backupName, *issue);
    }
    const bool deleted = DeleteTarget(*issue);
    if (!deleted && journal_) {
        journal_->NotDeleted(backupName);
    }
    return deleted;
}

RepairAction* CreateRepairAction()
{
    static std::unique_ptr<RepairAction> current;
    current.reset();
    current.reset(new (std::nothrow) DeleteAction);
    return current.get();
}
