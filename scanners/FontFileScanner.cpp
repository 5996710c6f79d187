#include "scanners/FontFileScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

#include <cctype>

namespace {

// "C:\...", "\\server\share\..." or "\...": a font installed outside the font folder.
bool IsPathOfItsOwn(const std::string& text)
{
    return (text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]))) ||
           (!text.empty() && text[0] == '\\');
}

}  // namespace

FontFileScanner::FontFileScanner(IniStore* ini) : CategoryScanner(ini, Category::FontFiles) {}

bool FontFileScanner::OnValue(RegistryValue* value)
{
    if (!value) {
        return true;
    }
    char folder[256];
    const DWORD length = ExpandEnvironmentStringsA("%SystemRoot%\\Fonts\\", folder, sizeof folder);
    if (length == 0 || length > sizeof folder) {
        return true;
    }
    const std::string file = value->GetString(0);
    // Testing such a path under the font folder would name nothing, and the repair
    // would unregister a font that is installed.
    const std::string path = IsPathOfItsOwn(file) ? file : folder + file;
    if (FileExists(path, Looked()) || !IsOnAvailableDrive(path)) {
        return true;
    }
    ReportIssue(ValueIssue, value, "font:" + value->Name() + "missing file:" + path);
    return true;
}
