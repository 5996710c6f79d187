#include "scanners/CategoryScanner.h"

#include "engine/IssueList.h"
#include "engine/ScanIssue.h"
#include "registry/OperationLog.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"
#include "scanners/Grades.h"

#include <memory>

namespace {

// Judges with a scanner of the issue's category made for the purpose, so that the judgement shares nothing with
// the scan (its remembered command verdicts, its stop flag) and needs no scanner to outlive the scan.
class CategoryJudge : public IssueJudge {
public:
    CategoryJudge(Category category, IniStore* ini) : category_(category), ini_(ini) {}

    Rejudged Rejudge(const ScanIssue& issue) const override
    {
        const std::unique_ptr<RegistryScanner> scanner = InfoOf(category_).make(ini_);
        auto* judge = dynamic_cast<CategoryScanner*>(scanner.get());
        return judge ? judge->Rejudge(issue) : Rejudged::Changed;
    }

private:
    Category category_;
    IniStore* ini_;
};

}  // namespace

CategoryScanner::CategoryScanner(IniStore* ini, Category category)
    : RegistryScanner(ini), category_(category), info_(InfoOf(category)), judge_(new CategoryJudge(category, ini))
{
}

CategoryScanner::~CategoryScanner() = default;

void CategoryScanner::BeginScan(IssueList* list)
{
    OperationLog::Write(info_.startLine);
    SetIssues(list);
    searches_.Clear();
}

int CategoryScanner::Scan(IssueList* list)
{
    BeginScan(list);
    bool previousExists = false;
    for (const StartKey& start : info_.keys) {
        const bool skip = start.onlyWithoutPrevious && previousExists;
        previousExists = false;
        const std::string path = JoinPath(start.parentPath, start.name);
        for (const RegistryView view : ViewsToWalk(start.root, path, start.views == StartKey::Views::KeptApart)) {
            Ref<RegistryKey> key(new RegistryKey(start.root, start.parentPath, start.name, view));
            previousExists = WalkStartKey(*key, start.walk, skip) || previousExists;
        }
    }
    // Their memory need not outlive the category's walk.
    commands_->ForgetChecked();
    searches_.Clear();
    classes_.Clear();
    return 0;
}

// Walks one start key in one view unless told to skip it; true when the key exists.
bool CategoryScanner::WalkStartKey(RegistryKey& key, StartKey::Walk walk, bool skip)
{
    // Opened as the walk will keep it; the status tells a missing key from one that cannot be read.
    const LONG opened = key.TryOpen(KEY_READ);
    const bool exists = opened != ERROR_FILE_NOT_FOUND;
    if (skip) {
        return exists;
    }
    // A key that is there but cannot be read (a standard user and a machine-wide key) must not pass for an
    // empty one.
    if (opened != ERROR_SUCCESS) {
        if (exists) {
            NoteUnreadableKey(key.FullPath() + ViewMark(key.View()), opened);
        }
        return exists;
    }
    if (walk == StartKey::Walk::Subkeys) {
        EnumerateSubkeys(key, *this, *this);
    } else {
        EnumerateValues(key, *this, *this);
    }
    // The values an issue keeps hold their key, but no handle on it.
    key.Close();
    return true;
}

bool CategoryScanner::ReadForJudging(RegistryKey& key, const std::string& name, Ref<RegistryValue>& value)
{
    value = key.QueryValue(name);
    if (value && !value->FitsCodePage()) {
        value = nullptr;
        NoteOutsideCodePage();
        return false;
    }
    if (value && PassesOver(*value)) {
        value = nullptr;
        return false;
    }
    return true;
}

void CategoryScanner::JudgePlaceNamed(RegistryValue& value, const std::string& problem)
{
    // Whatever stands at the name keeps the entry: a file where a folder was is no proof that it is gone for good.
    const std::string& place = value.Name();
    if (IsFullyQualified(place) && !FileOrFolderExists(place, looks_) && IsOnAvailableDrive(place)) {
        ReportIssue(ValueIssue, &value, problem + place);
    }
}

void CategoryScanner::NoteEntry()
{
    RegistryScanner::NoteEntry();
    looks_.Clear();
}

bool CategoryScanner::PassesOver(const RegistryValue& value)
{
    const RegistryKey* key = value.Key();
    if (!key || key->RootHandle() != HKEY_LOCAL_MACHINE) {
        return false;
    }
    for (const std::string& text : value.Strings()) {
        if (NamesPerUserVariable(text)) {
            NotePerUserText();
            return true;
        }
    }
    return false;
}

void CategoryScanner::ReportIssue(int kind, RepairTarget* target, const std::string& description, bool log,
                                  const char* source)
{
    if (looks_.Undecided()) {
        if (!rejudging_) {
            NoteUndecided();
        }
        return;
    }
    Ref<ScanIssue> issue(new ScanIssue(kind, target, description, source ? source : Name()));
    if (!rejudging_ && LeaveOut(*issue)) {
        return;
    }
    issue->SetEvidence(looks_.Items());
    const GradeRow& grade = GradeOf(category_, kind);
    issue->SetGrade(grade.grade, grade.reason);
    if (!rejudging_) {
        MarkInstallerOwned(*issue);
    }
    if (log && !rejudging_) {
        OperationLog::Write(Name() + ":" + description);
    }
    issue->SetJudge(judge_.get());
    if (Issues()) {
        Issues()->Add(issue.get());
    }
}

void CategoryScanner::MarkInstallerOwned(ScanIssue& issue)
{
    RepairTarget* target = issue.MatchingTarget();
    const std::string component = target ? keyPaths_->OwnerOf(*target) : std::string();
    if (!component.empty()) {
        issue.AddLook({component, "Windows Installer names it as this component's key path"});
        issue.SetGrade(Grade::Expert, InstallerOwnedReason);
    }
}

void CategoryScanner::Revisit(const ScanIssue& issue)
{
    RepairTarget* target = issue.MatchingTarget();
    if (!target) {
        return;
    }
    if (const RegistryKey* key = target->AsRegistryKey()) {
        const Ref<RegistryKey> fresh = key->Fresh();
        OnKey(fresh.get());
    } else if (const RegistryValue* value = target->AsRegistryValue(); value && value->Key()) {
        const Ref<RegistryKey> key = value->Key()->Fresh();
        Ref<RegistryValue> fresh;
        if (ReadForJudging(*key, value->Name(), fresh) && fresh) {
            OnValue(fresh.get());
        }
    }
}

Rejudged CategoryScanner::Rejudge(const ScanIssue& issue)
{
    const RepairTarget* target = issue.MatchingTarget();
    // Revisiting a key that is gone would judge what its absence looks like.
    if (target && target->IsGone()) {
        return Rejudged::Gone;
    }
    IssueList found;
    SetIssues(&found);
    looks_.Clear();
    rejudging_ = true;
    Revisit(issue);
    rejudging_ = false;
    SetIssues(nullptr);
    for (int i = 0; i < found.Count(); ++i) {
        const ScanIssue& now = *found.At(i);
        if (now.Kind() == issue.Kind() && now.Description() == issue.Description() && now.Target() &&
            issue.Target() && now.Target()->FullPath() == issue.Target()->FullPath()) {
            return Rejudged::StillFails;
        }
    }
    return Rejudged::Changed;
}
