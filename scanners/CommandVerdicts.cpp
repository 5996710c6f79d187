#include "scanners/CommandVerdicts.h"

#include "scanners/FileChecks.h"
#include "scanners/TargetChecks.h"

namespace {

// The remembered verdict on key, if any.
template <typename Verdicts>
const bool* Known(const Verdicts& verdicts, const std::string& key)
{
    const auto known = verdicts.find(key);
    return known == verdicts.end() ? nullptr : &known->second;
}

}  // namespace

bool CommandVerdicts::IsGone(const std::string& commandLine)
{
    if (const bool* gone = Known(started_, commandLine)) {
        return *gone;
    }
    if (working_.count(commandLine)) {
        return false;
    }
    // The file checks settle most commands; a process is started only when they cannot.
    if (!CommandNeedsStart(commandLine)) {
        if (working_.size() >= VerdictLimit) {
            working_.clear();
        }
        working_.insert(commandLine);
        return false;
    }
    const bool gone = !CanStartProcess(commandLine);
    started_.emplace(commandLine, gone);
    return gone;
}

bool SearchVerdicts::IsFound(const std::string& text)
{
    if (const bool* found = Known(found_, text)) {
        return *found;
    }
    if (found_.size() >= VerdictLimit) {
        found_.clear();
    }
    const bool found = FindOnSearchPath(text);
    found_.emplace(text, found);
    return found;
}
