// What the checks of one entry asked Windows and what it answered. Only an answer that means "not there" proves an
// absence; any other failure (access denied, a sharing violation, a name too long, a drive not ready) leaves the
// entry undecided, and an undecided entry is never reported.
#pragma once

#include "engine/Evidence.h"

#include <windows.h>

#include <string>

enum class Presence { Present, Absent, Unknown };

// What a failed look-up's error says: absent for "not found", "path not found" and the bad-name answers a path
// that cannot exist gets; unknown for every other error.
Presence PresenceOfError(DWORD error) noexcept;
// The answer's words for the evidence: "not found", "path not found", "cannot tell (error 5)".
std::string AnswerOfError(DWORD error);

class Looks {
public:
    // Records one look and its answer; returns presence.
    Presence Note(std::string looked, Presence presence, std::string answer);
    // Records a failed look-up by its error.
    Presence NoteError(std::string looked, DWORD error);
    // Records looks made earlier (a remembered verdict).
    void Add(const Looks& earlier);

    // True once any answer was neither "there" nor "not there".
    bool Undecided() const noexcept { return undecided_; }
    const Evidence& Items() const noexcept { return items_; }
    void Clear() noexcept
    {
        items_.clear();
        undecided_ = false;
    }

private:
    Evidence items_;
    bool undecided_ = false;
};
