// The issues one scanner found in one scan, in the order it found them.
#pragma once

#include "engine/ScanIssue.h"
#include "registry/RefCounted.h"

#include <vector>

class IssueList {
public:
    virtual ~IssueList() = default;
    // Takes a counted reference; returns the issue's index.
    virtual int Add(ScanIssue* issue)
    {
        issues_.emplace_back(issue);
        return static_cast<int>(issues_.size()) - 1;
    }
    // No new reference; null past the end.
    virtual ScanIssue* At(int index) const
    {
        return index >= 0 && index < Count() ? issues_[index].get() : nullptr;
    }
    virtual int Count() const { return static_cast<int>(issues_.size()); }

private:
    std::vector<Ref<ScanIssue>> issues_;
};
