// The Task Scheduler tasks that start Corvadin with the highest rights at log-on, beside its Run and RunOnce
// values: Windows does not start a program that asks for administrator rights from those while User Account
// Control is on.
#pragma once

#include <string>

// A task's name and the switch it starts the program with.
struct StartTask {
    const char* name;
    const char* switchText;
};
// At every log-on, with a background scan.
const StartTask& LogonScanTask();
// Once, at the next log-on after Windows starts again: the program removes it when it starts with its switch.
const StartTask& RebootScanTask();

// Done, or the reason it was not, for the log.
struct TaskOutcome {
    bool done = false;
    std::string reason;
};

// The task's definition for the program at programPath (a full file name), its texts escaped for XML.
std::string StartTaskXml(const StartTask& task, const std::string& programPath);
// Creates the task, or replaces the one of that name.
TaskOutcome CreateStartTask(const StartTask& task, const std::string& programPath);
// A task that is not there counts as removed.
TaskOutcome RemoveStartTask(const StartTask& task);
bool StartTaskExists(const StartTask& task);

// Logs a failed outcome with what it means for the user; returns whether the change was done.
bool LogTaskOutcome(const TaskOutcome& outcome, const StartTask& task, const std::string& consequence);
