// The interface of a category scanner. A scanner is also the context of its own registry walks: they consult its
// stop flag and its progress sink.
#pragma once

#include "registry/WalkContext.h"

#include <string>

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

    RegistryScanner(const RegistryScanner&) = delete;
    RegistryScanner& operator=(const RegistryScanner&) = delete;

protected:
    IniStore* Ini() const noexcept { return ini_; }
    IssueList* Issues() const noexcept { return issues_; }
    void SetIssues(IssueList* list) noexcept { issues_ = list; }

private:
    ProgressSink* progress_ = nullptr;
    volatile bool stop_ = false;
    IssueList* issues_ = nullptr;
    IniStore* ini_;
};
