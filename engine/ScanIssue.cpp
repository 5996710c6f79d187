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

Rejudged ScanIssue::Rejudge() const
{
    if (judge_) {
        return judge_->Rejudge(*this);
    }
    const RepairTarget* target = MatchingTarget();
    return target && target->IsGone() ? Rejudged::Gone : Rejudged::StillFails;
}

RegistryView ScanIssue::View() const
{
    return target_ ? target_->View() : RegistryView::Default;
}

std::string ScanIssue::Name() const
{
    const RepairTarget* target = MatchingTarget();
    return target ? target->DisplayName() + ViewMark(target->View()) : std::string();
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
    const std::string kind = std::to_string(kind_);
    const std::string path = target_ ? target_->FullPath() : std::string();
    const RegistryView view = View();
    // Entries of the default view keep the ids they always had.
    return view == RegistryView::Default ? TextDigest({kind, source_, path, description_})
                                         : TextDigest({kind, source_, path, description_, ViewName(view)});
}
