// The shape every category scanner shares: log its start, walk its starting keys
// with itself as visitor and scan context, and report each problem as an issue.
#pragma once

#include "engine/RegistryScanner.h"
#include "registry/RegistryVisitor.h"
#include "scanners/CommandVerdicts.h"

#include <windows.h>

#include <initializer_list>
#include <string>

class RefCounted;

class CategoryScanner : public RegistryVisitor, public RegistryScanner {
public:
    CategoryScanner(IniStore* ini, std::string name, std::string startLine);

    std::string Name() const override { return name_; }
    // A scanner answers the callback it does not need with "go on".
    bool OnValue(RegistryValue*) override { return true; }
    bool OnKey(RegistryKey*) override { return true; }

protected:
    enum class Walk { Subkeys, Values };
    struct StartKey {
        HKEY root;
        const char* parentPath;
        const char* name;
        Walk walk;
    };

    // Logs the start line, remembers list and walks each key in turn.
    int ScanKeys(IssueList* list, std::initializer_list<StartKey> keys);
    // Logs the problem (when log is set), then adds it to the remembered list.
    void ReportIssue(int kind, RefCounted* target, const std::string& description, bool log = true);
    // Logs the start line and remembers list; for scanners that walk more than keys.
    void BeginScan(IssueList* list);
    // The verdicts on command lines met in this scan.
    CommandVerdicts& Commands() { return commands_; }

private:
    std::string name_;
    std::string startLine_;
    CommandVerdicts commands_;
};
