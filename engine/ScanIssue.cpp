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

std::string TextDigest(std::initializer_list<std::string> parts)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::string& part : parts) {
        for (const char c : part + '\0') {
            hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
        }
    }
    char digest[17];
    snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(hash));
    return digest;
}

std::string ScanIssue::Id() const
{
    return TextDigest({std::to_string(kind_), source_, target_ ? target_->FullPath() : std::string(), description_});
}
