// File classes whose icon file cannot be found, and shell verbs whose command cannot be started. Classes are
// walked where they really lie, the user's and the machine's apart: the merged HKEY_CLASSES_ROOT would back up,
// delete and restore a class that exists in both at whichever half the system picks.
#pragma once

#include "scanners/CategoryScanner.h"

class FileExtensionReferenceScanner : public CategoryScanner {
public:
    explicit FileExtensionReferenceScanner(IniStore* ini);
    bool OnKey(RegistryKey* classKey) override;

protected:
    void Revisit(const ScanIssue& issue) override;

private:
    // Judges the verbs under one class's Shell key.
    class VerbVisitor : public RegistryVisitor {
    public:
        explicit VerbVisitor(FileExtensionReferenceScanner& scanner) : scanner_(scanner) {}
        bool OnValue(RegistryValue*) override { return true; }
        bool OnKey(RegistryKey* verbKey) override
        {
            scanner_.CheckVerb(verbKey);
            return true;
        }

    private:
        FileExtensionReferenceScanner& scanner_;
    };

    void CheckIcon(RegistryKey& classKey);
    void CheckVerb(RegistryKey* verbKey);
};
