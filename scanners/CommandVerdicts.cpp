#include "scanners/CommandVerdicts.h"

#include "scanners/FileChecks.h"
#include "scanners/TargetChecks.h"

bool CommandVerdicts::IsGone(const std::string& commandLine)
{
    const auto known = gone_.find(commandLine);
    if (known != gone_.end()) {
        return known->second;
    }
    const bool gone = CommandIsGone(commandLine);
    gone_.emplace(commandLine, gone);
    return gone;
}

bool SearchVerdicts::IsFound(const std::string& text)
{
    const auto known = found_.find(text);
    if (known != found_.end()) {
        return known->second;
    }
    if (found_.size() >= Limit) {
        found_.clear();
    }
    const bool found = FindOnSearchPath(text);
    found_.emplace(text, found);
    return found;
}
