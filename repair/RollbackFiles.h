// The rollback files a folder holds, and the restore of one of them: what the
// console tool and the window's restore both use.
#pragma once

#include "repair/RollbackReader.h"

#include <string>
#include <vector>

struct RollbackFileInfo {
    std::string name;  // without the folder
    std::string date;  // last written, local time "YYYY-MM-DD hh:mm:ss"
    std::string view;  // where its keys go (RollbackViewText); empty when its head cannot be read
    // The rest is known once CheckRollbackFile has parsed the file.
    bool checked = false;
    bool readable = false;
    int keys = 0;
    int values = 0;
    int errorLine = 0;  // where a damaged file goes wrong (0: it cannot be read)
    std::string error;
};

// The "rollback*.reg" files of folder, newest first. Only the head of each is read, for its view: a folder may
// hold hundreds, and each is parsed whole only when it is looked at.
std::vector<RollbackFileInfo> ListRollbackFiles(const std::string& folder);
// The registry view the keys of the rollback file at path go to, as lists show it ("32-bit view", "shared view";
// a file without a view line says so); empty when the head of the file cannot be read or is damaged.
std::string RollbackViewText(const std::string& path);
// Parses the listed file whole and fills in its counts, or where it goes wrong.
void CheckRollbackFile(const std::string& folder, RollbackFileInfo& file);

struct RestoreOutcome {
    bool parsed = false;  // false: the file was refused and nothing was written
    int errorLine = 0;
    std::string error;
    int keys = 0;
    int values = 0;
    int failedWrites = 0;
    // A service's or driver's key was written back: the service manager reads those keys only when Windows starts.
    bool needsRestart = false;

    bool Complete() const { return parsed && failedWrites == 0; }
};

// Parses the whole file, then (only when it is sound) writes it into the registry.
RestoreOutcome RestoreRollbackFile(const std::string& path);
// Writes a parsed file into the registry, only when the parse succeeded.
RestoreOutcome RestoreParsed(const RollbackParseResult& parsed);
// One sentence that says what the restore of file did, for a console or a message box.
std::string DescribeRestore(const std::string& file, const RestoreOutcome& outcome);
