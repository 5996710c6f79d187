// The shape every category scanner shares: log its start, walk its category's start keys with itself as visitor
// and scan context, and report each problem as an issue.
#pragma once

#include "engine/RegistryScanner.h"
#include "registry/RegistryVisitor.h"
#include "scanners/Categories.h"
#include "scanners/CommandVerdicts.h"

#include <string>

class RepairTarget;

class CategoryScanner : public RegistryVisitor, public RegistryScanner {
public:
    CategoryScanner(IniStore* ini, Category category);

    std::string Name() const override { return info_.name; }
    // Walks the category's start keys.
    int Scan(IssueList* list) override;
    // A scanner answers the callback it does not need with "go on".
    bool OnValue(RegistryValue*) override { return true; }
    bool OnKey(RegistryKey*) override { return true; }

protected:
    // Logs the problem (when log is set), then adds it to the remembered list.
    void ReportIssue(int kind, RepairTarget* target, const std::string& description, bool log = true);
    // Logs the start line and remembers list; for scanners that walk more than keys.
    void BeginScan(IssueList* list);
    // The verdicts on command lines met in this scan.
    CommandVerdicts& Commands() { return commands_; }

private:
    const CategoryInfo& info_;
    CommandVerdicts commands_;
};
