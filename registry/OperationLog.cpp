#include "registry/OperationLog.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

namespace {

struct LogFile {
    std::mutex lock;
    FILE* file = nullptr;
};

LogFile& TheLog()
{
    static LogFile log;
    return log;
}

std::string TimeStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    snprintf(stamp, sizeof stamp, "%04d/%02d/%02d - %02d:%02d:%02d\t\t", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute, now.wSecond);
    return stamp;
}

}  // namespace

void OperationLog::Start(const std::string& logName)
{
    {
        LogFile& log = TheLog();
        std::lock_guard guard(log.lock);
        if (log.file || logName.empty()) {
            return;
        }
        // Text mode, so each line ends in CR LF; other programs may read it meanwhile.
        log.file = fopen(logName.c_str(), "a");
        if (!log.file) {
            return;
        }
    }
    Write("************************ Start logging...");
}

void OperationLog::Write(const std::string& text)
{
    LogFile& log = TheLog();
    // Scanner and repair lines come from two threads; each must reach the file whole.
    std::lock_guard guard(log.lock);
    if (!log.file) {
        return;
    }
    const std::string line = TimeStamp() + text + "\n";
    fwrite(line.data(), 1, line.size(), log.file);
    fflush(log.file);
}

void OperationLog::Stop()
{
    Write("logging stopped");
    LogFile& log = TheLog();
    std::lock_guard guard(log.lock);
    if (log.file) {
        fclose(log.file);
        log.file = nullptr;
    }
}

bool OperationLog::IsOpen()
{
    LogFile& log = TheLog();
    std::lock_guard guard(log.lock);
    return log.file != nullptr;
}
