// The interface of a category scanner. A scanner is also the context of its own registry walks: they consult its
// stop flag and its progress sink.
#pragma once

#include "engine/IgnoreList.h"
#include "registry/WalkContext.h"

#include <string>
#include <utility>
#include <vector>

class IniStore;
class IssueList;
class ProgressSink;

class RegistryScanner : public WalkContext {
public:
    explicit RegistryScanner(IniStore* ini = nullptr) noexcept : ini_(ini) {}

    virtual void SetProgress(ProgressSink* sink) { progress_ = sink; }
    ProgressSink* Progress() const override { return progress_; }
    // Runs the whole category scan, adding one issue to list per problem found.
    virtual int Scan(IssueList* list) = 0;
    virtual std::string Name() const = 0;

    // The stop flag is one byte written by the window's thread while the worker
    // is suspended, and read by the worker before each entry.
    virtual void RequestStop() { stop_ = true; }
    bool IsStopRequested() const override { return stop_; }
    virtual void ClearStop() { stop_ = false; }

    // What the last scan looked at (entries handed to it by its walks) and what it could not look at: the start
    // keys that exist but could not be read (their full paths and the errors), and how many entries it passed over
    // because their names or text do not fit the code page.
    struct Gaps {
        int entries = 0;
        int ignored = 0;  // problems found in entries the user ignores: neither listed nor counted
        std::vector<std::pair<std::string, long>> unreadableKeys;
        int outsideCodePage = 0;
        // Entries Windows could not say anything about (a file it answered for with access denied, say), and
        // machine-wide entries whose text names a per-user variable: neither listed nor repaired.
        int undecided = 0;
        int perUserText = 0;
    };
    const Gaps& ScanGaps() const noexcept { return gaps_; }
    void ClearGaps() { gaps_ = {}; }
    // The entries to leave out; null for none. The list outlives the scans.
    void SetIgnoreList(const IgnoreList* ignored) noexcept { ignored_ = ignored; }
    void NoteOutsideCodePage() override { ++gaps_.outsideCodePage; }
    void NoteEntry() override { ++gaps_.entries; }
    void NoteUndecided() noexcept { ++gaps_.undecided; }
    void NotePerUserText() noexcept { ++gaps_.perUserText; }
    void NoteUnreadableKey(const std::string& fullPath, long error) { gaps_.unreadableKeys.emplace_back(fullPath, error); }

    RegistryScanner(const RegistryScanner&) = delete;
    RegistryScanner& operator=(const RegistryScanner&) = delete;

protected:
    IniStore* Ini() const noexcept { return ini_; }
    IssueList* Issues() const noexcept { return issues_; }
    // True, and counted, when the user ignores the issue's entry.
    bool LeaveOut(const ScanIssue& issue)
    {
        const bool left = ignored_ && ignored_->Ignores(Name(), issue);
        gaps_.ignored += left;
        return left;
    }
    void SetIssues(IssueList* list) noexcept { issues_ = list; }

private:
    ProgressSink* progress_ = nullptr;
    volatile bool stop_ = false;
    IssueList* issues_ = nullptr;
    Gaps gaps_;
    const IgnoreList* ignored_ = nullptr;
    IniStore* ini_;
};
