// Where the process looks for DLLs loaded by name. Corvadin runs with an administrator's rights, and a DLL of a
// common name dropped beside it or into the current folder would run with them.
#pragma once

// Limits every later search for a DLL by name to the system folder; the first call of each program. False when
// this Windows can only take the current folder out of the search (a Windows 7 without the loader update).
[[nodiscard]] bool RestrictDllSearchToSystemFolder() noexcept;
// Notes in the log when the search could not be limited to the system folder; once the log is open.
void LogDllSearch(bool restrictedToSystemFolder);
