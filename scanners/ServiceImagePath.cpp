#include "scanners/ServiceImagePath.h"

#include "scanners/FileChecks.h"

#include <windows.h>

namespace {

bool BeginsWithNoCase(const std::string& text, const char* prefix)
{
    const int length = lstrlenA(prefix);
    return static_cast<int>(text.size()) >= length &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), length, prefix, length) == CSTR_EQUAL;
}

// The kernel's and the service manager's spellings of a place, as a path this program can look at: "\SystemRoot\"
// and a path below the Windows folder ("System32\drivers\x.sys") name the Windows folder, "\??\" a path of its
// own. Empty for a form that cannot be judged.
std::string Resolved(const std::string& path, const std::string& windows)
{
    if (BeginsWithNoCase(path, "\\??\\")) {
        return Resolved(path.substr(4), windows);
    }
    if (BeginsWithNoCase(path, "\\SystemRoot\\")) {
        return windows + path.substr(11);
    }
    if (BeginsWithNoCase(path, "System32\\") || BeginsWithNoCase(path, "SysWOW64\\")) {
        return windows + "\\" + path;
    }
    return IsFullyQualified(path) ? path : std::string();
}

std::string LastPart(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An unquoted path with blanks is tried at every blank, shortest first, as Windows starts it; a name without an
// extension is tried with ".exe" too.
void AddCandidate(ServiceImage& image, const std::string& path, const std::string& windows)
{
    const std::string resolved = Resolved(path, windows);
    if (resolved.empty()) {
        return;
    }
    image.candidates.push_back(resolved);
    if (LastPart(resolved).find('.') == std::string::npos) {
        image.candidates.push_back(resolved + ".exe");
    }
}

bool NamesGroup(const std::string& arguments)
{
    return arguments.find("-k ") != std::string::npos || arguments.find("/k ") != std::string::npos;
}

}  // namespace

ServiceImage ParseImagePath(const std::string& imagePath, const std::string& windows)
{
    ServiceImage image;
    const size_t first = imagePath.find_first_not_of(" \t");
    const size_t last = imagePath.find_last_not_of(" \t");
    if (first == std::string::npos || windows.empty()) {
        return image;
    }
    const std::string text = imagePath.substr(first, last - first + 1);
    std::string program;
    std::string arguments;
    if (text.front() == '"') {
        const size_t closing = text.find('"', 1);
        program = text.substr(1, closing == std::string::npos ? std::string::npos : closing - 1);
        arguments = closing == std::string::npos ? std::string() : text.substr(closing + 1);
        AddCandidate(image, program, windows);
    } else {
        for (size_t blank = text.find(' '); blank != std::string::npos; blank = text.find(' ', blank + 1)) {
            AddCandidate(image, text.substr(0, blank), windows);
        }
        AddCandidate(image, text, windows);
        const size_t blank = text.find(' ');
        program = text.substr(0, blank);
        arguments = blank == std::string::npos ? std::string() : text.substr(blank);
    }
    image.sharedProcess = lstrcmpiA(LastPart(program).c_str(), "svchost.exe") == 0 && NamesGroup(arguments + " ");
    return image;
}

std::string DefaultDriverPath(const std::string& serviceName, const std::string& windows)
{
    return windows.empty() ? std::string() : windows + "\\System32\\drivers\\" + serviceName + ".sys";
}
