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

// The comment line that names the registry view of a file's keys.
constexpr const char* RollbackViewComment = "; registry view: ";

// What the view line says: "64-bit", "32-bit", or "shared" for the default view.
const char* RollbackViewName(RegistryView view) noexcept;
// Where a file without a view line goes. Earlier versions were 32-bit programs only, so their files name keys as
// the 32-bit view shows them on 64-bit Windows; a shared key is the same key in that view.
RegistryView UnnamedFileView() noexcept;

struct RollbackContent {
    RegistryView view = RegistryView::Default;
    bool viewNamed = false;  // false: no view line, the file of an earlier version
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
