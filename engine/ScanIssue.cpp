#include "engine/ScanIssue.h"

#include <utility>

ScanIssue::ScanIssue(int kind, RepairTarget* target, std::string description, std::string source)
    : kind_(kind), target_(target), description_(std::move(description)), source_(std::move(source))
{
}

RepairTarget* ScanIssue::MatchingTarget() const noexcept
{
    RepairTarget* target = target_.get();
    if (!target) {
        return nullptr;
    }
    switch (kind_) {
    case KeyIssue:
        return target->AsRegistryKey() ? target : nullptr;
    case ValueIssue:
        return target->AsRegistryValue() ? target : nullptr;
    case FileIssue:
    case FolderIssue:
        return target->IsOnDisk() ? target : nullptr;
    default:
        return nullptr;
    }
}

std::string ScanIssue::Name() const
{
    const RepairTarget* target = MatchingTarget();
    return target ? target->DisplayName() : std::string();
}
