// Shortcut files (.lnk) in the configured folders, or on drive C:, whose target
// file or folder is gone. The one scanner that walks folders instead of keys.
#pragma once

#include "scanners/CategoryScanner.h"

#include <memory>
#include <string>

struct IShellLinkW;

class ShortcutScanner : public CategoryScanner {
public:
    explicit ShortcutScanner(IniStore* ini);
    ~ShortcutScanner() override;

    // Walks every folder of the ini section "Shortcut" in key order, or drive C:
    // when the section has no values; returns the number of subfolders walked.
    // Empty values and folders on the network are passed over.
    int Scan(IssueList* list) override;
    // Walks folder and everything below it; returns the number of subfolders walked.
    // Virtual so that a test can see which folders a scan chooses without walking them.
    virtual int ScanFolder(const std::string& folder);
    // The target of the shortcut file when that target is missing, otherwise empty (also when the target's
    // path does not fit the code page: it is then passed over). Needs the shell-link object that Scan holds;
    // empty outside a scan.
    std::string ResolveShortcutTarget(const std::string& linkPath);

protected:
    void Revisit(const ScanIssue& issue) override;

private:
    // Makes the shell-link object; the caller holds COM for as long as it lives.
    bool CreateLink();
    void CheckShortcut(const std::string& name, const std::string& folder);

    struct ComRelease {
        void operator()(IShellLinkW* link) const noexcept;
    };
    // Exists only while Scan or Revisit runs.
    std::unique_ptr<IShellLinkW, ComRelease> link_;
};
