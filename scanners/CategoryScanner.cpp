#include "scanners/CategoryScanner.h"

#include "engine/IssueList.h"
#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"

CategoryScanner::CategoryScanner(IniStore* ini, Category category) : RegistryScanner(ini), info_(InfoOf(category)) {}

void CategoryScanner::BeginScan(IssueList* list)
{
    OperationLog::Write(info_.startLine);
    SetIssues(list);
    commands_.Clear();
}

int CategoryScanner::Scan(IssueList* list)
{
    BeginScan(list);
    bool previousExists = false;
    for (const StartKey& start : info_.keys) {
        Ref<RegistryKey> key(new RegistryKey(start.root, start.parentPath, start.name));
        const bool exists = key->Open(KEY_QUERY_VALUE);
        key->Close();
        if (start.onlyWithoutPrevious && previousExists) {
            continue;
        }
        previousExists = exists;
        if (start.walk == StartKey::Walk::Subkeys) {
            EnumerateSubkeys(*key, *this, *this);
        } else {
            EnumerateValues(*key, *this, *this);
        }
    }
    return 0;
}

void CategoryScanner::ReportIssue(int kind, RepairTarget* target, const std::string& description, bool log)
{
    if (log) {
        OperationLog::Write(Name() + ":" + description);
    }
    Ref<ScanIssue> issue(new ScanIssue(kind, target, description, Name()));
    if (Issues()) {
        Issues()->Add(issue.get());
    }
}
