// The shape every category scanner shares: log its start, walk its category's start keys with itself as visitor
// and scan context, and report each problem as an issue. It also judges one issue again for the repair.
#pragma once

#include "engine/RegistryScanner.h"
#include "engine/ScanIssue.h"
#include "registry/RefCounted.h"
#include "registry/RegistryVisitor.h"
#include "scanners/Categories.h"
#include "scanners/ClassKeys.h"
#include "scanners/CommandVerdicts.h"
#include "scanners/InstallerKeyPaths.h"
#include "scanners/Looks.h"

#include <memory>
#include <string>

class RepairTarget;

class CategoryScanner : public RegistryVisitor, public RegistryScanner {
public:
    CategoryScanner(IniStore* ini, Category category);
    ~CategoryScanner() override;

    std::string Name() const override { return info_.name; }
    // Walks the category's start keys.
    int Scan(IssueList* list) override;
    // A scanner answers the callback it does not need with "go on".
    bool OnValue(RegistryValue*) override { return true; }
    bool OnKey(RegistryKey*) override { return true; }
    // Each entry starts with no looks.
    void NoteEntry() override;
    // Machine-wide text that names a per-user variable names another place for every user: counted, not judged.
    bool PassesOver(const RegistryValue& value) override;

    // Reads the issue's entry afresh and judges it as a scan would, without logging.
    Rejudged Rejudge(const ScanIssue& issue);
    // Lets the scanners of one scan decide each command line once between them, so that no program is started twice.
    void ShareCommands(std::shared_ptr<CommandVerdicts> commands) { commands_ = std::move(commands); }
    // Lets them read Windows Installer's key paths once between them.
    void ShareKeyPaths(std::shared_ptr<InstallerKeyPaths> keyPaths) { keyPaths_ = std::move(keyPaths); }

protected:
    // Logs the problem (when log is set, and never while judging again), then adds it to the remembered list with
    // the entry's looks as its evidence and the grade of its category and kind. An entry whose looks hold an
    // answer that proves nothing is counted instead.
    void ReportIssue(int kind, RepairTarget* target, const std::string& description, bool log = true,
                     const char* source = nullptr);
    // Logs the start line and remembers list; for scanners that walk more than keys.
    void BeginScan(IssueList* list);
    // The verdicts on command lines and on files looked for on the search path, met in this scan.
    CommandVerdicts& Commands() { return *commands_; }
    SearchVerdicts& Searches() { return searches_; }
    // The judgements of classes, interfaces and libraries that entries of this scan name.
    ClassVerdicts& Classes() { return classes_; }
    // What the checks of the current entry asked and what Windows answered.
    Looks& Looked() noexcept { return looks_; }
    // Reads a value that an entry's judgement needs into value (null when it is absent or unreadable). False when
    // its text does not fit the code page, or is machine-wide and names a per-user variable: the entry is then
    // counted as passed over and must not be judged.
    bool ReadForJudging(RegistryKey& key, const std::string& name, Ref<RegistryValue>& value);
    // For lists whose value names are the places: a name that is a full path at which nothing stands is reported
    // as problem and the path; other names (signatures, settings) are not judged.
    void JudgePlaceNamed(RegistryValue& value, const std::string& problem);
    // Visits the issue's entry again, read afresh (its target is known to be there); scanners whose issues name
    // another entry than the one they visit say how to reach it.
    virtual void Revisit(const ScanIssue& issue);

private:
    bool WalkStartKey(RegistryKey& key, StartKey::Walk walk, bool skip);

    Category category_;
    const CategoryInfo& info_;
    // Marks an issue whose target Windows Installer would put back.
    void MarkInstallerOwned(ScanIssue& issue);

    std::shared_ptr<CommandVerdicts> commands_ = std::make_shared<CommandVerdicts>();
    std::shared_ptr<InstallerKeyPaths> keyPaths_ = std::make_shared<InstallerKeyPaths>();
    SearchVerdicts searches_;
    ClassVerdicts classes_;
    Looks looks_;
    Ref<IssueJudge> judge_;
    bool rejudging_ = false;
};
