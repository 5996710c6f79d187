// One problem a scanner found: one row of the results list.
#pragma once

#include "registry/RefCounted.h"

#include <string>

enum IssueKind : int {
    KeyIssue = 0,
    ValueIssue = 1,
    FileIssue = 2,
    FolderIssue = 3,
};

class ScanIssue : public RefCounted {
public:
    // Takes its own reference to target, which may be null.
    ScanIssue(int kind, RefCounted* target, std::string description, std::string source);

    virtual std::string Description() const { return description_; }
    virtual std::string Source() const { return source_; }
    virtual std::string DisplayName() const { return Name(); }
    // The "Name" column, built from the target by kind.
    virtual std::string Name() const;

    int Kind() const noexcept { return kind_; }
    RefCounted* Target() const noexcept { return target_.get(); }

private:
    int kind_;
    Ref<RefCounted> target_;
    std::string description_;
    std::string source_;
};
