// The start-up flags set from the command line, and the Run entry and the task that start
// Corvadin with a background scan at every log-on.
#pragma once

#include <string>

struct StartupFlags {
    bool launchAtSystemStart = false;  // the Run entry and the log-on task are there
    bool startupScan = false;          // "/scanstartup": scan at once, hidden
    bool startHidden = false;          // hide the main window at its first paint
    bool exitOnClose = false;          // "/scannow": closing the main window ends the program
};

// The process-wide flags.
StartupFlags& TheStartupFlags();

// A plain, case-sensitive substring test, as the switches have always been read.
bool HasSwitch(const std::string& commandLine, const std::string& switchText);

// Windows starts the log-on and the next-start scans ("/scanstartup", "/scannow") in a folder of its choosing,
// most often system32. Such a start works in the program's own folder, where a start from the Start menu does:
// Corvadin.ini is read there, and the log, the backups and the run records go there. False when the folder could
// not be entered.
bool EnterProgramFolderForScheduledStart(const std::string& commandLine);

// Sets the switch flags from the command line and launchAtSystemStart from the Run entry and the task.
void ReadStartupFlags(const std::string& commandLine);

// True when the Run entry exists and holds "/scanstartup", and the log-on task exists: without the task,
// Windows with User Account Control on never starts the program.
bool ReadLaunchAtStartup();
// Writes (on) or removes (off) the Run entry and the log-on task together, logging why a task could not
// be changed; returns what is there afterwards, so that a failed write is not shown as done.
bool SetLaunchAtStartup(bool on);
