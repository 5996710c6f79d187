#include "repair/DeleteAction.h"

#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "repair/BackupName.h"
#include "repair/RegistryDeleter.h"
#include "repair/RegistryExporter.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

// File and folder targets name things on disk; a registry key is a named item too,
// but must never be taken for a path.
const NamedItem* DiskTarget(RefCounted* target)
{
    if (dynamic_cast<RegistryKey*>(target)) {
        return nullptr;
    }
    return dynamic_cast<NamedItem*>(target);
}

std::string DiskPath(const NamedItem& item)
{
    return JoinPath(item.ParentPath(), item.Name());
}

// Gone only when the file system says so; a path it cannot look at may still be there.
bool IsGoneFromDisk(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsKeyGone(const RegistryKey& key)
{
    UniqueHkey handle;
    return RegOpenKeyExA(key.RootHandle(), key.RelativePath().c_str(), 0, KEY_QUERY_VALUE, handle.put()) ==
           ERROR_FILE_NOT_FOUND;
}

bool IsValueGone(const RegistryValue& value)
{
    const RegistryKey* key = value.Key();
    if (!key) {
        return true;
    }
    UniqueHkey handle;
    const LONG opened = RegOpenKeyExA(key->RootHandle(), key->RelativePath().c_str(), 0, KEY_QUERY_VALUE,
                                      handle.put());
    if (opened != ERROR_SUCCESS) {
        return opened == ERROR_FILE_NOT_FOUND;
    }
    return RegQueryValueExA(handle.get(), value.Name().c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_FILE_NOT_FOUND;
}

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
// signature alone.
std::string RollbackText(ScanIssue& issue, bool& complete)
{
    RegistryExporter exporter;
    if (issue.Kind() == KeyIssue) {
        if (auto* key = dynamic_cast<RegistryKey*>(issue.Target())) {
            exporter.OnKey(key);
        }
    } else if (issue.Kind() == ValueIssue) {
        if (auto* value = dynamic_cast<RegistryValue*>(issue.Target()); value && value->Key()) {
            exporter.AddKeyHeader(*value->Key());
            exporter.OnValue(value);
        }
    }
    complete = exporter.IsComplete();
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
    written = written && SetEndOfFile(file.get());
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
        const NamedItem* file = DiskTarget(issue->Target());
        return file && CopyToNewFile(DiskPath(*file), fileName);
    }
    bool complete = false;
    const std::string text = RollbackText(*issue, complete);
    return complete && WriteNewFile(fileName, text);
}

bool DeleteAction::DeleteTarget(ScanIssue& issue)
{
    const auto logFix = [&](const std::string& path) {
        OperationLog::Write("Fix \"" + issue.Source() + "\":" + path);
    };
    switch (issue.Kind()) {
    case KeyIssue:
        if (auto* key = dynamic_cast<RegistryKey*>(issue.Target())) {
            logFix(key->FullPath());
            DeleteKeyTree(*key);
            return IsKeyGone(*key);
        }
        return true;
    case ValueIssue:
        if (auto* value = dynamic_cast<RegistryValue*>(issue.Target())) {
            logFix(value->FullPath());
            DeleteValue(*value);
            return IsValueGone(*value);
        }
        return true;
    case FileIssue:
    case FolderIssue:
        if (const NamedItem* item = DiskTarget(issue.Target())) {
            const std::string path = DiskPath(*item);
            logFix(path);
            if (issue.Kind() == FileIssue) {
                DeleteFileA(path.c_str());
            } else {
                RemoveDirectoryA(path.c_str());
            }
            return IsGoneFromDisk(path);
        }
        return true;
    default:
        return true;
    }
}

bool DeleteAction::Fix(ScanIssue* issue)
{
    if (!issue) {
        return false;
    }
    Ref<ScanIssue> held(issue);
    const std::string backupName = NextBackupName(issue->Kind());
    if (!WriteBackup(issue, backupName)) {
        return false;
    }
    return DeleteTarget(*issue);
}

RepairAction* CreateRepairAction()
{
    static std::unique_ptr<RepairAction> current;
    current.reset();
    current.reset(new (std::nothrow) DeleteAction);
    return current.get();
}
