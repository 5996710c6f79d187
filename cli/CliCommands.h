// The console companion's commands: scan, fix and restore.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit codes shared by every command.
enum CliExit : int {
    ExitClean = 0,     // scan: nothing found; fix: all fixed; restore: restored
    ExitIssues = 1,    // scan: issues found; fix: some failed; restore: refused or incomplete
    ExitUsage = 2,     // unknown command or option, missing argument, fix without --yes
    ExitStopped = 3,   // any command: stopped by an error such as running out of memory
    ExitIncomplete = 4,  // scan, fix: a place that exists could not be read (most often for want of rights), so
                         // the scan was not whole; what it found is still listed or repaired
};

// Runs one command line (without the program name); normal output goes to out,
// messages and progress to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
