// What the repair tests share beyond the common helpers: issues made the way scanners make them, and the
// registry editor.
#pragma once

#include "engine/IssueList.h"
#include "engine/RegistryScanner.h"
#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "tests/support/Files.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PlainRegistry.h"
#include "tests/support/Programs.h"

#include <windows.h>

#include <string>
#include <vector>

// An issue made as a scanner makes it: the issue holds the only reference to its target.
inline Ref<ScanIssue> MakeIssue(int kind, RepairTarget* target, const std::string& source = "Round trip")
{
    Ref<RefCounted> held(target);
    return Ref<ScanIssue>(new ScanIssue(kind, target, " test", source));
}

inline Ref<ScanIssue> KeyIssueFor(HKEY root, const std::string& parentPath, const std::string& name)
{
    return MakeIssue(KeyIssue, new RegistryKey(root, parentPath, name));
}

inline Ref<ScanIssue> ValueIssueFor(HKEY root, const std::string& keyPath, const std::string& keyName,
                                    const std::string& valueName)
{
    Ref<RegistryKey> key(new RegistryKey(root, keyPath, keyName));
    return MakeIssue(ValueIssue, new RegistryValue(valueName, key.get()));
}

// Imports a .reg file silently with the system's registry editor; its exit code.
inline DWORD ImportWithRegedit(const std::string& file)
{
    return static_cast<DWORD>(RunToEnd("regedit.exe /s \"" + file + "\"", 120000));
}

// The issues of one scan whose name column holds part.
inline std::vector<Ref<ScanIssue>> ScanFor(RegistryScanner& scanner, const std::string& part)
{
    IssueList list;
    scanner.Scan(&list);
    std::vector<Ref<ScanIssue>> found;
    for (int i = 0; i < list.Count(); ++i) {
        if (list.At(i)->Name().find(part) != std::string::npos) {
            found.emplace_back(list.At(i));
        }
    }
    return found;
}
