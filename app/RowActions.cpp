#include "app/RowActions.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

namespace {

constexpr const char* EditorKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
constexpr const char* LastKeyName = "LastKey";

bool UnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string ReadText(HKEY key, const char* name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) {
        return {};
    }
    std::vector<char> text(size + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return text.data();
}

bool Exists(const std::string& path, bool folder)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

}  // namespace

std::string RegistryEditorPath(const std::string& keyPath, const std::string& previous, bool underWine)
{
    if (underWine) {
        return keyPath;
    }
    const std::string first = previous.substr(0, previous.find('\\'));
    const bool named = first.size() < previous.size() && !first.empty() && _strnicmp(first.c_str(), "HKEY_", 5) != 0;
    return (named ? first : std::string("Computer")) + "\\" + keyPath;
}

UniqueKernelHandle OpenInRegistryEditor(const std::string& keyPath)
{
    UniqueHkey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, EditorKeyPath, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
        return {};
    }
    const std::string path = RegistryEditorPath(keyPath, ReadText(key.get(), LastKeyName), UnderWine());
    if (RegSetValueExA(key.get(), LastKeyName, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1)) != ERROR_SUCCESS) {
        return {};
    }
    // The Windows folder is never redirected for a 32-bit program: its editor is the system's own. The shell
    // asks for elevation where the editor needs it.
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    const std::string editor = std::string(windows) + "\\regedit.exe";
    SHELLEXECUTEINFOA start{};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS;
    start.lpFile = editor.c_str();
    start.nShow = SW_SHOWNORMAL;
    return UniqueKernelHandle(ShellExecuteExA(&start) ? start.hProcess : nullptr);
}

bool CopyToClipboard(HWND owner, const std::string& text)
{
    // Another program may hold the clipboard for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !(open = OpenClipboard(owner) != FALSE); ++attempt) {
        Sleep(20);
    }
    if (!open) {
        return false;
    }
    bool copied = false;
    HGLOBAL memory = EmptyClipboard() ? GlobalAlloc(GMEM_MOVEABLE, text.size() + 1) : nullptr;
    if (void* bytes = memory ? GlobalLock(memory) : nullptr) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        copied = SetClipboardData(CF_TEXT, memory) != nullptr;
    }
    if (memory && !copied) {
        GlobalFree(memory);
    }
    CloseClipboard();
    return copied;
}

bool ShowInFolder(HWND owner, const std::string& filePath)
{
    std::string parameters;
    if (Exists(filePath, false)) {
        parameters = "/select,\"" + filePath + "\"";
    } else {
        const std::string folder = filePath.substr(0, filePath.find_last_of('\\'));
        if (!Exists(folder, true)) {
            return false;
        }
        parameters = "\"" + folder + "\"";
    }
    return reinterpret_cast<INT_PTR>(
               ShellExecuteA(owner, "open", "explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}
