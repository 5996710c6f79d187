// The scan categories in scanning order: one row of facts per category, read by the scanner list, the
// scanners themselves, the main window and the pop-up notifier, the console program and the planting fixture.
#pragma once

#include "engine/ScannerList.h"

#include <windows.h>

#include <array>
#include <memory>
#include <span>
#include <string>

class IniStore;
class RegistryScanner;

// The categories by their place in the scan (and in the scanner list).
enum class Category : int {
    AppPath,
    Uninstall,
    HelpFile,
    FileExtension,
    FileExtensionReference,
    FontFiles,
    RecentFiles,
    SharedDll,
    SharedFolder,
    StartupProgram,
    ComObject,
    BrowserHelperObject,
    Shortcut,
    TypeLibrary,
    Interface,
    ShellExtension,
    MuiCache,
    SoundEvent,
    CompatibilitySetting,
    InstallerFolder,
    Service,
};

// One key a category walks: its subkeys or its values.
struct StartKey {
    enum class Walk { Subkeys, Values };
    // Whether 64-bit Windows (7 and later) keeps the key apart for 32-bit and 64-bit programs, or shares it.
    enum class Views { KeptApart, Shared };
    HKEY root;
    const char* parentPath;
    const char* name;
    Walk walk;
    Views views;
    // Walked only where the key before it in the list does not exist (an older Windows' place for the same list).
    bool onlyWithoutPrevious = false;
};

// A row's place in the table is its Category.
struct CategoryInfo {
    // The scanner's Name(): the results list's "Type" text, the ini section name, the console's --category.
    const char* name;
    // The log line that starts the category's scan.
    const char* startLine;
    // A short word for command lines ("apppath").
    const char* tag;
    // The label and the counter of the category on the main window and on the pop-up.
    UINT labelId;
    UINT counterId;
    // The keys its scanner walks; empty for the shortcut scanner, which walks folders.
    std::span<const StartKey> keys;
    std::unique_ptr<RegistryScanner> (*make)(IniStore* ini);
};

const std::array<CategoryInfo, CategoryCount>& Categories() noexcept;

inline const CategoryInfo& InfoOf(Category category) noexcept
{
    return Categories()[static_cast<size_t>(category)];
}

// Whether a stored choice of categories ("font;shortcut": tags separated by semicolons, without regard to case)
// leaves the category out of scans. Unknown tags are passed over.
bool LeavesOut(const std::string& tagList, const CategoryInfo& category);

// The label and the counter that show error counter i (0 the total, i + 1 category i) on the main window and on
// the pop-up.
UINT CounterLabelId(int i) noexcept;
UINT CounterId(int i) noexcept;
