// Other programs and waiting for what they do.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

// A build path (/work/... or Z:/...) as the loader and the shell take it.
inline std::string WindowsPath(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return !path.empty() && path.front() == '\\' ? "Z:" + path : path;
}

// Checks condition, with pause() between the checks, until it holds or the time is up; returns the condition.
template <typename Condition, typename Pause>
bool PollUntil(Condition condition, DWORD milliseconds, Pause pause)
{
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < milliseconds) {
        pause();
    }
    return condition();
}

// Polls until condition holds or the time is up. For a thread that has no windows to pump, or a wait on another
// program.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 5000)
{
    return PollUntil(condition, milliseconds, [] { Sleep(20); });
}

// Runs a command line to its end; its exit code, or -1 when it cannot start or does not end within the time.
inline long RunToEnd(std::string commandLine, DWORD milliseconds = 180000)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// How many processes this test program and its children have started so far: the first call puts the test program
// into a job of its own, which counts every process started in it from then on (0 when that cannot be done).
inline DWORD ProcessesStartedByThisTest()
{
    static const HANDLE job = [] {
        const HANDLE made = CreateJobObjectA(nullptr, nullptr);
        return made && AssignProcessToJobObject(made, GetCurrentProcess()) ? made : nullptr;
    }();
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts{};
    return job && QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts, sizeof counts,
                                            nullptr)
               ? counts.TotalProcesses
               : 0;
}
