#include "scanners/CategoryScanner.h"

#include "engine/IssueList.h"
#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"

#include <utility>

CategoryScanner::CategoryScanner(IniStore* ini, std::string name, std::string startLine)
    : RegistryScanner(ini), name_(std::move(name)), startLine_(std::move(startLine))
{
}

void CategoryScanner::BeginScan(IssueList* list)
{
    OperationLog::Write(startLine_);
    SetIssues(list);
    commands_.Clear();
}

int CategoryScanner::ScanKeys(IssueList* list, std::initializer_list<StartKey> keys)
{
    BeginScan(list);
    for (const StartKey& start : keys) {
        Ref<RegistryKey> key(new RegistryKey(start.root, start.parentPath, start.name));
        if (start.walk == Walk::Subkeys) {
            EnumerateSubkeys(*key, *this, *this);
        } else {
            EnumerateValues(*key, *this, *this);
        }
    }
    return 0;
}

void CategoryScanner::ReportIssue(int kind, RefCounted* target, const std::string& description, bool log)
{
    if (log) {
        OperationLog::Write(Name() + ":" + description);
    }
    Ref<ScanIssue> issue(new ScanIssue(kind, target, description, Name()));
    if (Issues()) {
        Issues()->Add(issue.get());
    }
}
