#include "scanners/FileChecks.h"

#include "registry/UniqueHandle.h"

#include <windows.h>

#include <cctype>
#include <io.h>
#include <vector>

namespace {

// The attributes of the first match of path, or false when nothing matches.
bool FirstMatchIsFolder(const std::string& path, bool& isFolder)
{
    _finddata_t found{};
    UniqueFindHandle search(_findfirst(path.c_str(), &found));
    if (!search) {
        return false;
    }
    isFolder = (found.attrib & _A_SUBDIR) != 0;
    return true;
}

bool IsSlash(char c)
{
    return c == '\\' || c == '/';
}

bool StartsWithNoCase(const std::string& text, size_t position, const char* word)
{
    for (size_t i = 0; word[i] != '\0'; ++i) {
        if (position + i >= text.size() ||
            std::tolower(static_cast<unsigned char>(text[position + i])) != static_cast<unsigned char>(word[i])) {
            return false;
        }
    }
    return true;
}

// "C:\" for C:\x (or \\?\C:\x); "\\" for every other path that begins with two slashes (a share, a device,
// a long share path); empty for a path without a root.
std::string RootOf(const std::string& path)
{
    if (path.rfind("\\\\?\\", 0) == 0 && path.size() > 5 && path[5] == ':') {
        return RootOf(path.substr(4));
    }
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return path.substr(0, 2) + "\\";
    }
    if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        return "\\\\";
    }
    return {};
}

bool IsSystemDrive(const std::string& root)
{
    char windows[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
    return length > 0 && length < MAX_PATH && std::toupper(static_cast<unsigned char>(windows[0])) ==
                                                  std::toupper(static_cast<unsigned char>(root[0]));
}

}  // namespace

bool IsNetworkPath(const std::string& path)
{
    const std::string root = RootOf(path);
    if (root.empty()) {
        return false;
    }
    // The system drive is a local disk; asking about the others takes a trip to the mount manager under Wine.
    return root[1] != ':' || (!IsSystemDrive(root) && GetDriveTypeA(root.c_str()) == DRIVE_REMOTE);
}

bool FileExists(const std::string& path)
{
    if (IsNetworkPath(path)) {
        return false;
    }
    bool isFolder = false;
    return FirstMatchIsFolder(path, isFolder) && !isFolder;
}

bool FolderExists(const std::string& path)
{
    if (IsNetworkPath(path)) {
        return false;
    }
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    bool isFolder = false;
    return FirstMatchIsFolder(folder, isFolder) && isFolder;
}

bool FindOnSearchPath(const std::string& text)
{
    std::string name = text;
    if (!name.empty() && name.front() == '"') {
        name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string();
    }
    if (IsNetworkPath(name)) {
        return false;
    }
    char found[MAX_PATH];
    return SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr) != 0;
}

bool CanStartProcess(const std::string& commandLine)
{
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &started)) {
        return false;
    }
    UniqueKernelHandle process(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    TerminateProcess(process.get(), 0);
    // Termination is asynchronous; wait briefly so that a long scan leaves no
    // half-dead processes behind.
    WaitForSingleObject(process.get(), 2000);
    return true;
}

std::string ExtractProgramPath(const std::string& text)
{
    if (!text.empty() && text.front() == '"') {
        const size_t closing = text.find('"', 1);
        return closing == std::string::npos ? text.substr(1) : text.substr(1, closing - 1);
    }
    // Lower case: the text is folded to lower case for the comparison.
    static const char* const extensions[] = {".exe", ".dll", ".ico", ".ocx"};
    for (size_t position = 0; position < text.size(); ++position) {
        for (const char* extension : extensions) {
            const size_t end = position + 4;
            if (StartsWithNoCase(text, position, extension) && (end >= text.size() || text[end] != '\\')) {
                return text.substr(0, end);
            }
        }
    }
    return text;
}

bool IsOnAvailableDrive(const std::string& path)
{
    const std::string root = RootOf(path);
    if (root.empty()) {
        return true;
    }
    if (root[1] != ':') {
        return false;
    }
    if (IsSystemDrive(root)) {
        return true;
    }
    switch (GetDriveTypeA(root.c_str())) {
    case DRIVE_NO_ROOT_DIR:
    case DRIVE_UNKNOWN:
    case DRIVE_REMOTE:
        return false;
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
        return GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
    default:
        return true;
    }
}
