// Second opinions a scanner asks before it calls something gone: a repair deletes
// what is reported, so an entry whose file is still there, or whose drive cannot be
// reached right now, must not be reported.
#pragma once

#include "registry/RegistryView.h"
#include "scanners/Looks.h"

#include <string>

// The text, with variables expanded and one pair of surrounding quotes removed,
// names an existing file or folder. Wildcards never count as a name.
bool NamesExistingPath(const std::string& text, Looks& looks);
// The program at the start of the command line (variables expanded) is an existing
// file, even if the command could not be started (it may need elevation); a program
// named without a folder may also be found through its App Paths registration.
bool ProgramFileExists(const std::string& commandLine, Looks& looks);
// The program of the command line lies on a drive or share that is reachable now.
bool ProgramDriveIsAvailable(const std::string& commandLine);
// Only starting the command can tell whether it is gone: its program file is not
// there and its drive is reachable. It is gone when it then cannot start: the one
// case in which a command is reported as missing (CommandVerdicts decides it).
bool CommandNeedsStart(const std::string& commandLine, Looks& looks);
