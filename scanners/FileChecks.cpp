#include "scanners/FileChecks.h"

#include "registry/RegistryView.h"
#include "registry/UniqueHandle.h"

#include <windows.h>

#include <cctype>
#include <vector>

namespace {

enum class Found { Nothing, File, Folder };

// What path names: one attribute query, the cheapest question the file system answers. A wildcard asks for the
// first match instead. Every answer goes to looks: a failure other than "not found" leaves the entry undecided.
Found Probe(const std::string& path, Looks& looks)
{
    const size_t afterPrefix = path.rfind("\\\\?\\", 0) == 0 ? 4 : 0;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (path.find_first_of("*?", afterPrefix) == std::string::npos) {
        attributes = GetFileAttributesA(path.c_str());
    } else {
        WIN32_FIND_DATAA first;
        const UniqueFileSearch search(FindFirstFileA(path.c_str(), &first));
        attributes = search ? first.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        looks.NoteError(path, GetLastError());
        return Found::Nothing;
    }
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    looks.Note(path, Presence::Present, folder ? "a folder" : "a file");
    return folder ? Found::Folder : Found::File;
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
    const std::string& windows = SystemWindowsFolder();
    return !windows.empty() &&
           std::toupper(static_cast<unsigned char>(windows[0])) == std::toupper(static_cast<unsigned char>(root[0]));
}

// On 64-bit Windows "system32" names two folders: the 64-bit system folder, which a 32-bit program reaches as
// "Sysnative", and the 32-bit one, "SysWOW64", which a 32-bit program reaches as "system32". Entries of both
// registry views name "system32", and 64-bit Windows' own programs read the 32-bit view's Run, Uninstall and
// file classes too, so a file is present when either folder holds it. The path of the folder this program does not
// reach through "system32" (or, for the 64-bit build, a "Sysnative" path made by a 32-bit program); empty for
// every other path.
std::string OtherSystemFolderPath(const std::string& path)
{
    constexpr bool isBuild64 = sizeof(void*) == 8;
    struct Swap {
        const char* from;
        const char* to;
    };
    static const Swap swaps[] = {
        {"\\system32\\", isBuild64 ? "\\SysWOW64\\" : "\\Sysnative\\"},
        {"\\Sysnative\\", "\\system32\\"},
    };
    const std::string& windows = SystemWindowsFolder();
    if (windows.empty() || !IsWindows64()) {
        return {};
    }
    for (const Swap& swap : swaps) {
        const std::string prefix = windows + swap.from;
        if (path.size() > prefix.size() &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(), static_cast<int>(prefix.size()),
                           prefix.c_str(), static_cast<int>(prefix.size())) == CSTR_EQUAL) {
            return windows + swap.to + path.substr(prefix.size());
        }
    }
    return {};
}

// What path, or its twin in the other system folder, names.
Found ProbeInEither(const std::string& path, Looks& looks)
{
    const Found found = Probe(path, looks);
    if (found != Found::Nothing) {
        return found;
    }
    const std::string other = OtherSystemFolderPath(path);
    return other.empty() ? Found::Nothing : Probe(other, looks);
}

// A name looked for in the folders of the default search path.
bool Search(const std::string& name, Looks& looks)
{
    char found[MAX_PATH];
    const std::string looked = name + " on the search path";
    if (SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr) != 0) {
        looks.Note(looked, Presence::Present, "found");
        return true;
    }
    looks.NoteError(looked, GetLastError());
    return false;
}

}  // namespace

const std::string& SystemWindowsFolder()
{
    static const std::string folder = [] {
        char windows[MAX_PATH];
        const UINT length = GetSystemWindowsDirectoryA(windows, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::string(windows, length) : std::string();
    }();
    return folder;
}

bool IsFullyQualified(const std::string& path)
{
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           IsSlash(path[2]);
}

bool IsNetworkPath(const std::string& path)
{
    const std::string root = RootOf(path);
    if (root.empty()) {
        return false;
    }
    // The system drive is a local disk; asking about the others takes a trip to the mount manager under Wine.
    return root[1] != ':' || (!IsSystemDrive(root) && GetDriveTypeA(root.c_str()) == DRIVE_REMOTE);
}

bool FileExists(const std::string& path, Looks& looks)
{
    if (IsNetworkPath(path)) {
        return false;
    }
    return ProbeInEither(path, looks) == Found::File;
}

bool FolderExists(const std::string& path, Looks& looks)
{
    if (IsNetworkPath(path)) {
        return false;
    }
    std::string folder = path;
    // "C:" without its backslash would name the drive's current folder.
    const bool driveRoot = folder.size() == 3 && folder[1] == ':';
    if (!folder.empty() && folder.back() == '\\' && !driveRoot) {
        folder.pop_back();
    }
    return ProbeInEither(folder, looks) == Found::Folder;
}

bool FileOrFolderExists(const std::string& path, Looks& looks)
{
    if (!path.empty() && path.back() == '\\') {
        return FileExists(path, looks) || FolderExists(path, looks);
    }
    return !IsNetworkPath(path) && ProbeInEither(path, looks) != Found::Nothing;
}

bool FindOnSearchPath(const std::string& text, Looks& looks)
{
    std::string name = text;
    if (!name.empty() && name.front() == '"') {
        name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string();
    }
    if (IsNetworkPath(name)) {
        return false;
    }
    if (name.empty()) {
        looks.Note("(no name)", Presence::Absent, "names no file");
        return false;
    }
    // The search path plays no part for a full path: the search would only ask after that one file or folder.
    const bool full = IsFullyQualified(name) && name.find_first_of("*?") == std::string::npos;
    if (full ? Probe(name, looks) != Found::Nothing : Search(name, looks)) {
        return true;
    }
    // The search reaches one system folder; a file of the other one is there as well.
    const bool bare = name.find_first_of("\\/:") == std::string::npos;
    const std::string other = OtherSystemFolderPath(bare ? SystemWindowsFolder() + "\\system32\\" + name : name);
    return !other.empty() && FileExists(other, looks);
}

bool CanStartProcess(const std::string& commandLine, Looks& looks)
{
    const std::string looked = "start of " + commandLine;
    if (commandLine.find_first_not_of(" \t") == std::string::npos) {
        looks.Note(looked, Presence::Absent, "names no program");
        return false;
    }
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &started)) {
        looks.NoteError(looked, GetLastError());
        return false;
    }
    looks.Note(looked, Presence::Present, "started");
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
