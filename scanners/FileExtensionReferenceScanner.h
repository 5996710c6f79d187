// File classes directly under HKEY_CLASSES_ROOT whose icon file cannot be found, and
// shell verbs whose command cannot be started.
#pragma once

#include "scanners/CategoryScanner.h"

class FileExtensionReferenceScanner : public CategoryScanner {
public:
    explicit FileExtensionReferenceScanner(IniStore* ini);
    bool OnKey(RegistryKey* classKey) override;

private:
    void CheckIcon(RegistryKey& classKey);
};

// Judges the verbs under one class's Shell key; lives for one walk of that key.
class ShellCommandVisitor : public RegistryVisitor {
public:
    ShellCommandVisitor(IssueList* issues, CommandVerdicts& commands) : issues_(issues), commands_(commands) {}
    bool OnValue(RegistryValue*) override { return true; }
    bool OnKey(RegistryKey* verbKey) override;

private:
    IssueList* issues_;
    CommandVerdicts& commands_;
};
