#include "scanners/CommandVerdicts.h"

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
