#include "scanners/AppPathScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"
#include "scanners/TargetChecks.h"

namespace {

// One folder of the list, as "C:\Tool", "C:\Tool\" or with quotes around it.
std::string Trimmed(std::string folder)
{
    const size_t first = folder.find_first_not_of(" \t");
    const size_t last = folder.find_last_not_of(" \t");
    folder = first == std::string::npos ? std::string() : folder.substr(first, last - first + 1);
    if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') {
        folder = folder.substr(1, folder.size() - 2);
    }
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

// The text with one closing quote, semicolon or backslash dropped, and an opening
// quote after that.
std::string SingleFolder(std::string text)
{
    if (!text.empty() && (text.back() == '"' || text.back() == ';' || text.back() == '\\')) {
        text.pop_back();
        if (!text.empty() && text.front() == '"') {
            text.erase(0, 1);
        }
    }
    return text;
}

// A list such as "C:\Tool;C:\Tool\Bin" still serves the program while any of its
// folders is there, or while one of them lies on a drive that is away.
bool AnyListedFolderStands(const std::string& text, Looks& looks)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string folder = Trimmed(ExpandVariables(text.substr(start, end - start)));
        if (!folder.empty() && (FileOrFolderExists(folder, looks) || !IsOnAvailableDrive(folder))) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

AppPathScanner::AppPathScanner(IniStore* ini) : CategoryScanner(ini, Category::AppPath) {}

bool AppPathScanner::OnKey(RegistryKey* entry)
{
    if (!entry) {
        return true;
    }
    Ref<RegistryValue> path;
    if (!ReadForJudging(*entry, "Path", path) || !path || path->Type() != REG_SZ) {
        return true;
    }
    const std::string text = path->GetString(0);
    if (FileOrFolderExists(SingleFolder(text), Looked()) || AnyListedFolderStands(text, Looked())) {
        return true;
    }
    ReportIssue(KeyIssue, entry, " missing folder:" + text);
    return true;
}
