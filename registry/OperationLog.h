// The one time-stamped, append-only log of every scan finding and every repair.
#pragma once

#include <string>

class OperationLog {
public:
    // Opens logName for appending and notes the start; with an empty or unusable
    // name the program runs without a log and every line is dropped.
    static void Start(const std::string& logName);
    // One line: "YYYY/MM/DD - hh:mm:ss", two TABs, the text. Safe from any thread.
    static void Write(const std::string& text);
    // Notes the end and closes the file.
    static void Stop();
    static bool IsOpen();
};
