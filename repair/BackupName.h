// The names of backup files: the local time of the repair and a process-wide
// counter, so that repairs within one second still get names of their own.
#pragma once

#include <windows.h>

#include <string>

// "rollback…_NN.reg" for key and value issues, "file…_NN.fso" for files, "…_NN.fso"
// for everything else; the counter has at least two digits.
std::string BackupFileName(int issueKind, const SYSTEMTIME& time, int counter);

// Reads the clock into the repair's time record, names the backup of this repair
// with it and the counter, then moves the counter on (whatever the repair's outcome).
std::string NextBackupName(int issueKind);

// The number the next backup name will carry.
int RepairCounter();
// The local time read by the last NextBackupName.
const SYSTEMTIME& RepairTime();

// Where the local time comes from; tests put a fixed clock here. Returns the previous reader.
using LocalTimeReader = void(WINAPI*)(LPSYSTEMTIME);
LocalTimeReader SetLocalTimeReader(LocalTimeReader reader);
