// Reads a REGEDIT4 rollback file written by Corvadin back into the registry. The
// whole file is parsed before anything is written, so a damaged file changes nothing.
#pragma once

#include "registry/RegistryView.h"

#include <windows.h>

#include <string>
#include <vector>

struct RollbackValue {
    std::string name;  // empty for the default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RollbackKey {
    HKEY root = nullptr;
    std::string path;  // below the root
    std::vector<RollbackValue> values;
};

// The comment line that names the registry view of a file's keys; files without one belong to the default view.
constexpr const char* RollbackViewComment = "; registry view: ";

struct RollbackContent {
    RegistryView view = RegistryView::Default;
    std::vector<RollbackKey> keys;
    int ValueCount() const;
};

struct RollbackParseResult {
    bool ok = false;
    int errorLine = 0;  // 1-based line of the first error
    std::string error;
    RollbackContent content;
};

// Parses the text of a rollback file (LF or CR LF line ends).
RollbackParseResult ParseRollbackText(const std::string& text);
// Files above this size are refused unread: parsing holds several copies of the text,
// and the backup of a single key or value is far smaller.
constexpr long long MaxRollbackFileSize = 32LL << 20;

// Reads and parses the file at path; a file that cannot be read, or is too large, is
// an error at line 0.
RollbackParseResult ParseRollbackFile(const std::string& path);

// Creates every key (in the content's view) and sets every value; returns the number of registry writes
// that failed (0 when everything was restored).
int ApplyRollback(const RollbackContent& content);
