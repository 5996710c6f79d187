// Keeps the Wine desktop of a test prefix open between test runs. Wine closes a desktop, and ends the explorer
// that draws it, a second after its last other user leaves; each test would then start a new explorer, wait for
// it, and hand it its output, which explorer keeps open and so stalls ctest. tools/wine-exec.sh starts this once,
// with its output going nowhere, and waits for the ready file it writes beside itself.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Joining the desktop starts its explorer if there is none.
    if (GetDesktopWindow() == nullptr)
        return 1;

    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return 1;
    std::string ready(path, length);
    ready.replace(ready.rfind('.'), std::string::npos, ".ready");
    HANDLE file = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(file);

    for (;;)
        Sleep(INFINITE);
}
