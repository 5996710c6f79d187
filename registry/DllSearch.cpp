#include "registry/DllSearch.h"

#include "registry/OperationLog.h"

#include <windows.h>

bool RestrictDllSearchToSystemFolder() noexcept
{
    // Looked up rather than imported: a Windows 7 without the loader update lacks it and would not start the program.
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDirectories>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return true;
    }
    // The program's folder stays in that search, but the current folder, the one a user chooses, goes.
    SetDllDirectoryA("");
    return false;
}

void LogDllSearch(bool restrictedToSystemFolder)
{
    if (!restrictedToSystemFolder) {
        OperationLog::Write("DLLs are looked for in the program's folder too: this Windows lacks the loader update "
                            "that limits the search to the system folder");
    }
}
