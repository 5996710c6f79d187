// Whether a command line is gone, decided once per command for the length of one
// scan: many entries share a command (every file class opened by the same editor,
// every Run value of one program), and a decision may cost a process start.
#pragma once

#include "scanners/Looks.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

// The most verdicts a scanner keeps at a time that it could reach again cheaply, so that a huge registry does not
// make a scan big.
inline constexpr size_t VerdictLimit = 16384;

class CommandVerdicts {
public:
    // Whether the command cannot start although nothing else speaks for it (see CommandNeedsStart), remembered.
    // The looks that led to a "gone" go to looks, those of a remembered verdict too; whether they prove the
    // absence is for the looks to say.
    bool IsGone(const std::string& commandLine, Looks& looks);
    // Forgets the verdicts the file checks gave, which are cheap to reach again, and lets go of their memory. Those
    // that took a process start stay, so that no program is started twice in one scan; the scanners of one scan
    // share one CommandVerdicts, and the next scan starts with a new one.
    void ForgetChecked() { working_ = {}; }

private:
    // Commands the file checks found working, and the verdicts that took a process start: nothing for a command
    // that started, the looks for one that did not.
    std::unordered_set<std::string> working_;
    std::unordered_map<std::string, std::optional<Looks>> started_;
};

// Whether a file is found on the search path (FindOnSearchPath), decided once per text for the length of one scan:
// every class one library serves names the same file, and a name without a folder is looked for in many folders.
// At most VerdictLimit answers are kept at a time.
class SearchVerdicts {
public:
    // The looks of a miss go to looks, also when the miss was remembered.
    bool IsFound(const std::string& text, Looks& looks);
    void Clear() { found_ = {}; }

private:
    // Nothing for a text found, the looks for one that was not.
    std::unordered_map<std::string, std::optional<Looks>> found_;
};
