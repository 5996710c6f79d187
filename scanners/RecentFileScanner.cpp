#include "scanners/RecentFileScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/TargetChecks.h"

#include <cctype>

namespace {

// The shell ends every remembered command with these two characters.
constexpr const char* HistoryMark = "\\1";

std::string WithoutHistoryMark(const std::string& text)
{
    const size_t size = text.size();
    if (size >= 2 && text.compare(size - 2, 2, HistoryMark) == 0) {
        return text.substr(0, size - 2);
    }
    return text;
}

// "http:", "mailto:", "shell:" and the like: the Run dialog opens addresses too,
// and nothing on disk can prove an address gone. A drive letter is one letter.
bool IsAddress(const std::string& text)
{
    size_t length = 0;
    while (length < text.size() &&
           (std::isalnum(static_cast<unsigned char>(text[length])) || text[length] == '+' || text[length] == '-' ||
            text[length] == '.')) {
        ++length;
    }
    return length >= 2 && length < text.size() && text[length] == ':' &&
           std::isalpha(static_cast<unsigned char>(text[0]));
}

}  // namespace

RecentFileScanner::RecentFileScanner(IniStore* ini) : CategoryScanner(ini, Category::RecentFiles) {}

bool RecentFileScanner::OnValue(RegistryValue* value)
{
    // MRUList only orders the other entries.
    if (!value || value->Name() == "MRUList") {
        return true;
    }
    const std::string stored = value->GetString(0);
    const std::string command = WithoutHistoryMark(stored);
    // The Run dialog opens documents, folders and addresses as well as programs.
    if (IsAddress(command) || NamesExistingPath(command, Looked()) || !Commands().IsGone(command, Looked())) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + stored);
    return true;
}
