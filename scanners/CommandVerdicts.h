// Whether a command line is gone, decided once per command for the length of one
// scan: many entries share a command (every file class opened by the same editor,
// every Run value of one program), and a decision may cost a process start.
#pragma once

#include <string>
#include <unordered_map>

class CommandVerdicts {
public:
    // CommandIsGone(commandLine), remembered.
    bool IsGone(const std::string& commandLine);
    // Forgets every verdict; a scan starts with none, since files come and go between scans.
    void Clear() { gone_.clear(); }

private:
    std::unordered_map<std::string, bool> gone_;
};
