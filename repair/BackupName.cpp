#include "repair/BackupName.h"

#include "engine/ScanIssue.h"

#include <cstdio>

namespace {

// Only the repair touches these, and it runs on one thread.
struct RepairState {
    SYSTEMTIME time{};
    int counter = 0;
    LocalTimeReader readTime = GetLocalTime;
};

RepairState& State()
{
    static RepairState state;
    return state;
}

const char* PatternFor(int issueKind)
{
    switch (issueKind) {
    case KeyIssue:
    case ValueIssue:
        return "rollback%04d%02d%02d%02d%02d%02d_%02d.reg";
    case FileIssue:
        return "file%04d%02d%02d%02d%02d%02d_%02d.fso";
    default:
        return "%04d%02d%02d%02d%02d%02d_%02d.fso";
    }
}

}  // namespace

std::string BackupFileName(int issueKind, const SYSTEMTIME& time, int counter)
{
    char name[64];
    snprintf(name, sizeof name, PatternFor(issueKind), time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond, counter);
    return name;
}

std::string NextBackupName(int issueKind)
{
    RepairState& state = State();
    state.readTime(&state.time);
    return BackupFileName(issueKind, state.time, state.counter++);
}

int RepairCounter()
{
    return State().counter;
}

const SYSTEMTIME& RepairTime()
{
    return State().time;
}

LocalTimeReader SetLocalTimeReader(LocalTimeReader reader)
{
    RepairState& state = State();
    const LocalTimeReader previous = state.readTime;
    state.readTime = reader ? reader : GetLocalTime;
    return previous;
}
