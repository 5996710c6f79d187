#include "scanners/MuiCacheScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

namespace {

bool EndsWithIgnoringCase(const std::string& text, const char* tail)
{
    const size_t length = lstrlenA(tail);
    return text.size() > length && lstrcmpiA(text.c_str() + text.size() - length, tail) == 0;
}

// A drive path, or a network one (\\server\share\...).
bool IsFullPath(const std::string& path)
{
    return IsFullyQualified(path) || (path.size() > 2 && path[0] == '\\' && path[1] == '\\');
}

}  // namespace

std::string MuiCacheFile(const std::string& valueName)
{
    std::string path = valueName;
    for (const char* suffix : {".FriendlyAppName", ".ApplicationCompany"}) {
        if (EndsWithIgnoringCase(path, suffix)) {
            path.resize(path.size() - lstrlenA(suffix));
            break;
        }
    }
    // "@C:\Program Files\Tool\res.dll,-101": a string resource of that file.
    if (path.size() > 1 && path[0] == '@') {
        const size_t comma = path.rfind(",-");
        path = path.substr(1, comma == std::string::npos ? std::string::npos : comma - 1);
    }
    return IsFullPath(path) ? path : std::string();
}

MuiCacheScanner::MuiCacheScanner(IniStore* ini) : CategoryScanner(ini, Category::MuiCache) {}

bool MuiCacheScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    const std::string path = MuiCacheFile(value->Name());
    // A path on a drive that is away right now proves nothing.
    if (path.empty() || FileOrFolderExists(path, Looked()) || !IsOnAvailableDrive(path)) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + path);
    return true;
}
