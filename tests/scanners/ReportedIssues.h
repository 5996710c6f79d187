// The issues a scan reported about the entries a test planted, in a form that shows
// target and description at once.
#pragma once

#include "engine/IssueList.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "tests/support/Files.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

inline std::string TargetPath(const ScanIssue& issue)
{
    return issue.Target() ? issue.Target()->FullPath() : std::string();
}

// "target full path|description" of every issue whose target path contains marker.
inline std::vector<std::string> Reported(const IssueList& list, const std::string& marker)
{
    std::vector<std::string> found;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string path = TargetPath(*list.At(i));
        if (path.find(marker) != std::string::npos) {
            found.push_back(path + "|" + list.At(i)->Description());
        }
    }
    return found;
}

// "Name column|description" of every issue whose Name column contains marker.
inline std::vector<std::string> Named(const IssueList& list, const std::string& marker)
{
    std::vector<std::string> found;
    for (int i = 0; i < list.Count(); ++i) {
        if (list.At(i)->Name().find(marker) != std::string::npos) {
            found.push_back(list.At(i)->Name() + "|" + list.At(i)->Description());
        }
    }
    return found;
}

// The issues Reported names, sorted: values come in the order they were written on one system and
// sorted by name on another.
inline std::vector<std::string> ReportedInAnyOrder(const IssueList& list, const std::string& marker)
{
    std::vector<std::string> found = Reported(list, marker);
    std::sort(found.begin(), found.end());
    return found;
}

// The first issue whose target path contains marker; null when none does.
inline const ScanIssue* FirstIssue(const IssueList& list, const std::string& marker)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (TargetPath(*list.At(i)).find(marker) != std::string::npos) {
            return list.At(i);
        }
    }
    return nullptr;
}

// An issue's evidence as "looked: answer" lines.
inline std::string LooksText(const ScanIssue& issue)
{
    std::string text;
    for (const Look& look : issue.Looks()) {
        text += look.looked + ": " + look.answer + "\n";
    }
    return text;
}

// A copy of the system's notepad.exe at path: a program that exists and starts.
inline std::string PlantProgram(const std::string& path)
{
    CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
    CopyFileA((SystemFolder() + "\\notepad.exe").c_str(), path.c_str(), FALSE);
    return path;
}

// "{C0A1D<group>-0000-4000-8000-0000000000NN}": a class, interface or library id that a test plants.
inline std::string TestId(const char* group, int n)
{
    char id[64];
    snprintf(id, sizeof id, "{C0A1D%s-0000-4000-8000-%012d}", group, n);
    return id;
}

// A drive letter that names no drive right now, such as an unplugged disk's.
inline std::string AbsentDrive()
{
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        if (!(drives & (1u << (letter - 'A')))) {
            return std::string(1, letter) + ":";
        }
    }
    return "Q:";
}
