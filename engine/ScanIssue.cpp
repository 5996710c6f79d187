#include "engine/ScanIssue.h"

#include <cstdint>
#include <cstdio>
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

std::string ScanIssue::Id() const
{
    // 64-bit FNV-1a over the parts, each ended by a zero so that no two sets of parts run together.
    uint64_t hash = 0xcbf29ce484222325ull;
    const auto add = [&hash](const std::string& part) {
        for (const char c : part + '\0') {
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
        }
    };
    add(std::to_string(kind_));
    add(source_);
    add(target_ ? target_->FullPath() : std::string());
    add(description_);
    char id[17];
    snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(hash));
    return id;
}
