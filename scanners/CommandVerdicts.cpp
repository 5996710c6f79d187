#include "scanners/CommandVerdicts.h"

#include "scanners/FileChecks.h"
#include "scanners/TargetChecks.h"

namespace {

// Hands on the looks of a remembered miss; true when it was a miss.
bool Recall(const std::optional<Looks>& miss, Looks& looks)
{
    if (miss) {
        looks.Add(*miss);
    }
    return miss.has_value();
}

}  // namespace

bool CommandVerdicts::IsGone(const std::string& commandLine, Looks& looks)
{
    if (const auto known = started_.find(commandLine); known != started_.end()) {
        return Recall(known->second, looks);
    }
    if (working_.count(commandLine)) {
        return false;
    }
    // The file checks settle most commands; a process is started only when they cannot.
    Looks checked;
    if (!CommandNeedsStart(commandLine, checked)) {
        if (working_.size() >= VerdictLimit) {
            working_.clear();
        }
        working_.insert(commandLine);
        return false;
    }
    const bool gone = !CanStartProcess(commandLine, checked);
    const auto added = started_.emplace(commandLine, gone ? std::optional<Looks>(checked) : std::nullopt);
    return Recall(added.first->second, looks);
}

bool SearchVerdicts::IsFound(const std::string& text, Looks& looks)
{
    if (const auto known = found_.find(text); known != found_.end()) {
        return !Recall(known->second, looks);
    }
    if (found_.size() >= VerdictLimit) {
        found_.clear();
    }
    Looks searched;
    const bool found = FindOnSearchPath(text, searched);
    const auto added = found_.emplace(text, found ? std::nullopt : std::optional<Looks>(searched));
    return !Recall(added.first->second, looks);
}
