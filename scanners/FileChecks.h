// The existence tests the scanners share, and the cutting of a program path out
// of a command line or an icon reference.
#pragma once

#include "scanners/Looks.h"

#include <string>

// A path on a share (\\server\share\x, also \\?\UNC\ and device paths) or on a
// network drive letter. Such paths are never probed: a dead server makes every probe
// wait for the network's timeout. The file tests below find nothing there, and
// IsOnAvailableDrive calls them unreachable, so nothing on them is ever reported.
bool IsNetworkPath(const std::string& path);
// The Windows folder ("C:\windows"); empty when Windows does not say. It does not change while the program runs,
// and the checks ask for it all the time.
const std::string& SystemWindowsFolder();
// "C:\..." : a path that names one place whatever the current folder and the search path.
bool IsFullyQualified(const std::string& path);

// Each test below records what it asked and what Windows answered in looks; false means "not shown to be there",
// and the looks tell whether that is an absence or an answer that proves nothing.

// An existing file that is not a folder (a wildcard matches when any match is a file).
bool FileExists(const std::string& path, Looks& looks);
// An existing folder; a trailing backslash is allowed.
bool FolderExists(const std::string& path, Looks& looks);
// FileExists(path) || FolderExists(path), asked with one look where one does.
bool FileOrFolderExists(const std::string& path, Looks& looks);
// Found on the system's default search path, after one pair of surrounding quotes
// is removed.
bool FindOnSearchPath(const std::string& text, Looks& looks);
// The command line can be started as a process. The process is created suspended
// and killed at once, so the program never runs.
bool CanStartProcess(const std::string& commandLine, Looks& looks);
// The program or icon file at the start of text: the quoted part, or everything up
// to the first .exe, .dll, .ico or .ocx that is not followed by a backslash.
std::string ExtractProgramPath(const std::string& text);
// False when path lies on a drive that is not reachable right now (an unplugged
// removable disk, an empty CD drive, an unmapped drive letter) or on the network
// (never probed). Such a path proves nothing about the thing being gone. Paths
// without a drive or share are taken as reachable.
bool IsOnAvailableDrive(const std::string& path);
