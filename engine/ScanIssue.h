// One problem a scanner found: one row of the results list.
#pragma once

#include "engine/Evidence.h"
#include "registry/RepairTarget.h"

#include <initializer_list>
#include <string>
#include <utility>

// Sixteen hex digits derived from the parts alone: a 64-bit FNV-1a over them, each ended by a zero so that no two
// lists of parts run together. The ids of issues and the keys of ignored entries.
std::string TextDigest(std::initializer_list<std::string> parts);

enum IssueKind : int {
    KeyIssue = 0,
    ValueIssue = 1,
    FileIssue = 2,
    FolderIssue = 3,
};

class ScanIssue;

// What judging an issue's entry again finds.
enum class Rejudged {
    Gone,        // the entry is no longer there
    StillFails,  // it fails in the same way: same target, same description
    Changed,     // it is there but no longer fails so
};

// Judges an issue again, as its category's scanner would judge the entry now: between the scan and the repair a
// program may have been reinstalled, or the entry rewritten or removed.
class IssueJudge : public RefCounted {
public:
    virtual Rejudged Rejudge(const ScanIssue& issue) const = 0;
};

class ScanIssue : public RefCounted {
public:
    // Takes its own reference to target, which may be null.
    ScanIssue(int kind, RepairTarget* target, std::string description, std::string source);

    virtual std::string Description() const { return description_; }
    virtual std::string Source() const { return source_; }
    virtual std::string DisplayName() const { return Name(); }
    // The "Name" column: the target's own text, marked with its registry view where that is not this build's own,
    // or empty when the target does not match the kind.
    virtual std::string Name() const;
    // The registry view the issue's entry was found in, where its repair deletes and its restore writes.
    RegistryView View() const;

    int Kind() const noexcept { return kind_; }
    RepairTarget* Target() const noexcept { return target_.get(); }
    // The target when it is what the kind acts on (a key for a key issue, a value for a value issue, something on
    // disk for a file or folder issue); null otherwise, so that no target is ever taken for another kind of thing.
    RepairTarget* MatchingTarget() const noexcept;

    // Scanners give every issue they report the judge of its category.
    void SetJudge(IssueJudge* judge) noexcept { judge_ = judge; }
    // Issues made outside a scan have no judge and are taken as they are, unless their target is gone.
    Rejudged Rejudge() const;

    // Sixteen hex digits derived from what the issue is (kind, source, target and description), never from its
    // place in a listing: the same entry failing in the same way gets the same id in every scan.
    std::string Id() const;

    // What the verdict rests on, in the order the checks asked.
    const Evidence& Looks() const noexcept { return evidence_; }
    void SetEvidence(Evidence evidence) { evidence_ = std::move(evidence); }
    void AddLook(Look look) { evidence_.push_back(std::move(look)); }
    // How much is at stake in deleting the entry, and why, in words. Issues made outside a scan are Safe.
    Grade GetGrade() const noexcept { return grade_; }
    const std::string& GradeReason() const noexcept { return gradeReason_; }
    void SetGrade(Grade grade, std::string reason)
    {
        grade_ = grade;
        gradeReason_ = std::move(reason);
    }

private:
    int kind_;
    Ref<RepairTarget> target_;
    std::string description_;
    std::string source_;
    Ref<IssueJudge> judge_;
    Evidence evidence_;
    Grade grade_ = Grade::Safe;
    std::string gradeReason_;
};
