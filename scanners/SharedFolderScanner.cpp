#include "scanners/SharedFolderScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

#include <cstdlib>
#include <vector>

namespace {

// The data of a share value split at every zero byte (the end of the data ends
// the last string too, so a value that is not terminated is read safely).
std::vector<std::string> SplitAtZeros(const std::vector<BYTE>& data)
{
    std::vector<std::string> strings;
    std::string current;
    for (const BYTE byte : data) {
        if (byte == 0) {
            strings.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(byte));
        }
    }
    if (!current.empty()) {
        strings.push_back(current);
    }
    return strings;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), static_cast<int>(prefix.size()),
                          prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

// The rest of the first string that begins with prefix (compared without regard to
// case); found tells whether there was one.
std::string FindSetting(const std::vector<std::string>& strings, const std::string& prefix, bool& found)
{
    for (const std::string& text : strings) {
        if (StartsWithNoCase(text, prefix)) {
            found = true;
            return text.substr(prefix.size());
        }
    }
    found = false;
    return {};
}

// Printer queues, devices and IPC shares also keep a "Path", but it names no
// folder: only disk shares (type 0, whatever the flag bits) are judged. A type that
// cannot be read is taken as a disk share.
bool IsDiskShareType(const std::string& typeText)
{
    char* end = nullptr;
    const unsigned long type = std::strtoul(typeText.c_str(), &end, 10);
    return end == typeText.c_str() || (type & 0xFF) == 0;
}

bool IsDiskShare(RegistryKey& shareKey)
{
    const Ref<RegistryValue> type = shareKey.QueryValue("Type");
    if (!type) {
        return true;
    }
    // A type that cannot be told is no reason to judge the share.
    if (!type->FitsCodePage()) {
        return false;
    }
    if (type->Type() == REG_DWORD && type->Data().size() >= sizeof(DWORD)) {
        return (*reinterpret_cast<const DWORD*>(type->Data().data()) & 0xFF) == 0;
    }
    return IsDiskShareType(type->GetString(0));
}

bool IsListedDrive(const std::string& root)
{
    char drives[256];
    const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length >= sizeof drives) {
        return true;  // the list does not fit: nothing is judged
    }
    for (const char* drive = drives; drive < drives + length && *drive; drive += lstrlenA(drive) + 1) {
        if (lstrcmpiA(drive, root.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

SharedFolderScanner::SharedFolderScanner(IniStore* ini) : CategoryScanner(ini, Category::SharedFolder) {}

std::string SharedFolderScanner::CheckSharePath(const std::string& path)
{
    if (path.size() < 3) {
        return " incorrect record about shared resource:" + path;
    }
    // A share on a drive that is away right now (a removable disk, an unmapped
    // letter) comes back with the drive; its record is not judged meanwhile.
    if (!IsOnAvailableDrive(path)) {
        return {};
    }
    if (path.size() == 3) {
        return IsListedDrive(path) ? std::string() : " missing partition:" + path;
    }
    return FolderExists(path, Looked()) ? std::string() : " missing folder:" + path;
}

bool SharedFolderScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    const std::vector<std::string> settings = SplitAtZeros(value->Data());
    bool hasPath = false;
    const std::string path = FindSetting(settings, "Path=", hasPath);
    if (!hasPath) {
        const std::string keyName = value->Key() ? value->Key()->Name() : std::string();
        ReportIssue(ValueIssue, value, "key:" + keyName + "value:" + value->Name() + " missing parameter:" + "Path=",
                    false);
        return true;
    }
    bool hasType = false;
    const std::string type = FindSetting(settings, "Type=", hasType);
    if (hasType && !IsDiskShareType(type)) {
        return true;
    }
    const std::string problem = CheckSharePath(path);
    if (!problem.empty()) {
        ReportIssue(ValueIssue, value, problem, false);
    }
    return true;
}

bool SharedFolderScanner::OnKey(RegistryKey* shareKey)
{
    if (!shareKey) {
        return true;
    }
    Ref<RegistryValue> path;
    if (!ReadForJudging(*shareKey, "Path", path)) {
        return true;
    }
    if (!path) {
        ReportIssue(KeyIssue, shareKey, "missing parameter \"Path\"");
        return true;
    }
    if (!IsDiskShare(*shareKey)) {
        return true;
    }
    const std::string problem = CheckSharePath(path->GetString(0));
    if (!problem.empty()) {
        ReportIssue(KeyIssue, shareKey, problem, false);
    }
    return true;
}
