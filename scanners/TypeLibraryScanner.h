// Type library registrations under TypeLib, the user's and the machine's each where it lies: a version none of
// whose locales names a win32 or win64 file that is found, or the whole library when every version is so.
#pragma once

#include "scanners/CategoryScanner.h"

#include <optional>
#include <string>

class TypeLibraryScanner : public CategoryScanner {
public:
    explicit TypeLibraryScanner(IniStore* ini);
    bool OnKey(RegistryKey* libraryKey) override;

protected:
    // A version's issue is judged again with its whole library.
    void Revisit(const ScanIssue& issue) override;

private:
    // The first file the version names when none it names is found; nothing when one is found, none is named, or
    // the version cannot be read whole.
    std::optional<std::string> MissingVersionFile(RegistryKey& versionKey);
    // Whether the platform key names a file that is found; its text goes to named when it names one.
    bool PlatformFileFound(RegistryKey& platformKey, std::string& named, bool& judgeable);
};
