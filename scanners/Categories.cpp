#include "scanners/Categories.h"

#include "resources/resource.h"
#include "scanners/AppPathScanner.h"
#include "scanners/BrowserHelperObjectScanner.h"
#include "scanners/ComObjectScanner.h"
#include "scanners/CompatibilitySettingScanner.h"
#include "scanners/FileExtensionReferenceScanner.h"
#include "scanners/FileExtensionScanner.h"
#include "scanners/FontFileScanner.h"
#include "scanners/HelpFileScanner.h"
#include "scanners/InterfaceScanner.h"
#include "scanners/MuiCacheScanner.h"
#include "scanners/InstallerFolderScanner.h"
#include "scanners/RecentFileScanner.h"
#include "scanners/ServiceScanner.h"
#include "scanners/SharedDllScanner.h"
#include "scanners/SharedFolderScanner.h"
#include "scanners/ShellExtensionScanner.h"
#include "scanners/ShortcutScanner.h"
#include "scanners/SoundEventScanner.h"
#include "scanners/StartupProgramScanner.h"
#include "scanners/TypeLibraryScanner.h"
#include "scanners/UninstallScanner.h"

#include <new>

namespace {

using Walk = StartKey::Walk;

constexpr const char* CurrentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* Explorer = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// Which keys 64-bit Windows keeps apart: most of HKLM\Software, and the CLSID keys of both class halves; shared
// are HKCU\Software (but its CLSID), HKLM\System, and by name App Paths, the file classes and the fonts list.
constexpr auto Apart = StartKey::Views::KeptApart;
constexpr auto Shared = StartKey::Views::Shared;

const StartKey AppPathKeys[] = {{HKEY_LOCAL_MACHINE, CurrentVersion, "App Paths", Walk::Subkeys, Shared}};
const StartKey UninstallKeys[] = {{HKEY_LOCAL_MACHINE, CurrentVersion, "Uninstall", Walk::Subkeys, Apart}};
const StartKey HelpFileKeys[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows", "Help", Walk::Values, Apart},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows", "HTML Help", Walk::Values, Apart},
};
const StartKey FileExtensionKeys[] = {{HKEY_CURRENT_USER, Explorer, "FileExts", Walk::Subkeys, Shared}};
// HKEY_CLASSES_ROOT merges these two: a class key found in both reads from the user's half, and a deletion or a
// write through the merged view reaches one half only. Each half is therefore judged, backed up, deleted and
// restored where it lies.
constexpr const char* Software = "Software";
constexpr const char* Classes = "Software\\Classes";
const StartKey FileExtensionReferenceKeys[] = {
    {HKEY_CURRENT_USER, Software, "Classes", Walk::Subkeys, Shared},
    {HKEY_LOCAL_MACHINE, Software, "Classes", Walk::Subkeys, Shared},
};
const StartKey FontFileKeys[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "Fonts", Walk::Values, Shared},
    // Where older Windows versions keep the same list.
    {HKEY_LOCAL_MACHINE, CurrentVersion, "Fonts", Walk::Values, Apart, true},
};
const StartKey RecentFileKeys[] = {
    {HKEY_LOCAL_MACHINE, Explorer, "RunMRU", Walk::Values, Apart},
    {HKEY_CURRENT_USER, Explorer, "RunMRU", Walk::Values, Shared},
};
const StartKey SharedDllKeys[] = {
    {HKEY_LOCAL_MACHINE, CurrentVersion, "SharedDLLs", Walk::Values, Apart},
    {HKEY_CURRENT_USER, CurrentVersion, "SharedDLLs", Walk::Values, Shared},
};
const StartKey SharedFolderKeys[] = {
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\lanmanserver", "Shares", Walk::Values, Shared},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Network", "LanMan", Walk::Subkeys, Apart},
};
const StartKey StartupProgramKeys[] = {
    {HKEY_LOCAL_MACHINE, CurrentVersion, "Run", Walk::Values, Apart},
    {HKEY_CURRENT_USER, CurrentVersion, "Run", Walk::Values, Shared},
};
const StartKey ComObjectKeys[] = {
    {HKEY_CURRENT_USER, Classes, "CLSID", Walk::Subkeys, Apart},
    {HKEY_LOCAL_MACHINE, Classes, "CLSID", Walk::Subkeys, Apart},
};
const StartKey BrowserHelperObjectKeys[] = {
    {HKEY_LOCAL_MACHINE, Explorer, "Browser Helper Objects", Walk::Subkeys, Apart},
};
// Libraries say for themselves which programs they serve (win32 and win64 below each locale), so Windows shares
// TypeLib; the interfaces are kept apart like the CLSID keys.
const StartKey TypeLibraryKeys[] = {
    {HKEY_CURRENT_USER, Classes, "TypeLib", Walk::Subkeys, Shared},
    {HKEY_LOCAL_MACHINE, Classes, "TypeLib", Walk::Subkeys, Shared},
};
const StartKey InterfaceKeys[] = {
    {HKEY_CURRENT_USER, Classes, "Interface", Walk::Subkeys, Apart},
    {HKEY_LOCAL_MACHINE, Classes, "Interface", Walk::Subkeys, Apart},
};
// Every class of both halves for its shellex handler lists, then the two machine-wide lists.
const StartKey ShellExtensionKeys[] = {
    {HKEY_CURRENT_USER, Software, "Classes", Walk::Subkeys, Shared},
    {HKEY_LOCAL_MACHINE, Software, "Classes", Walk::Subkeys, Shared},
    {HKEY_LOCAL_MACHINE, Explorer, "ShellIconOverlayIdentifiers", Walk::Subkeys, Apart},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions", "Approved", Walk::Values,
     Apart},
};
const StartKey MuiCacheKeys[] = {
    {HKEY_CURRENT_USER, "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell", "MuiCache",
     Walk::Values, Shared},
    // Where older Windows versions keep it; a newer one may still hold it from before an upgrade.
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\ShellNoRoam", "MUICache", Walk::Values, Shared},
};
const StartKey SoundEventKeys[] = {{HKEY_CURRENT_USER, "AppEvents\\Schemes", "Apps", Walk::Subkeys, Shared}};
constexpr const char* AppCompatFlags = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags";
const StartKey CompatibilitySettingKeys[] = {
    {HKEY_CURRENT_USER, AppCompatFlags, "Layers", Walk::Values, Shared},
    {HKEY_LOCAL_MACHINE, AppCompatFlags, "Layers", Walk::Values, Apart},
    {HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant",
     "Store", Walk::Values, Shared},
};
const StartKey InstallerFolderKeys[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer", "Folders", Walk::Values, Apart},
};
const StartKey ServiceKeys[] = {{HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet", "Services", Walk::Subkeys, Shared}};

// A scanner that cannot be allocated leaves a null at its place in the list.
template <class Scanner>
std::unique_ptr<RegistryScanner> Make(IniStore* ini)
{
    return std::unique_ptr<RegistryScanner>(new (std::nothrow) Scanner(ini));
}

}  // namespace

const std::array<CategoryInfo, CategoryCount>& Categories() noexcept
{
    // Four start lines have a blank after the colon; the log has always written them so.
    static const std::array<CategoryInfo, CategoryCount> table = {{
        {"App Path", "App Path: start", "apppath", IDC_LABEL_APP_PATH, IDC_COUNT_APP_PATH, AppPathKeys,
         Make<AppPathScanner>},
        {"Uninstall", "Uninstall:start", "uninstall", IDC_LABEL_UNINSTALL, IDC_COUNT_UNINSTALL,
         UninstallKeys, Make<UninstallScanner>},
        {"HelpFile", "HelpFile:start", "helpfile", IDC_LABEL_HELP_FILES, IDC_COUNT_HELP_FILES,
         HelpFileKeys, Make<HelpFileScanner>},
        {"File Extension", "File Extension: start", "fileext", IDC_LABEL_FILE_EXTENSIONS,
         IDC_COUNT_FILE_EXTENSIONS, FileExtensionKeys, Make<FileExtensionScanner>},
        {"File Extension-reference", "File Extension-reference:start", "fileextref",
         IDC_LABEL_EXTENSION_REF, IDC_COUNT_EXTENSION_REF, FileExtensionReferenceKeys,
         Make<FileExtensionReferenceScanner>},
        {"Font Files", "Font Files:start", "font", IDC_LABEL_FONT_FILES, IDC_COUNT_FONT_FILES,
         FontFileKeys, Make<FontFileScanner>},
        {"Recently used files", "Recently used files:start", "mru", IDC_LABEL_RECENTLY_USED,
         IDC_COUNT_RECENTLY_USED, RecentFileKeys, Make<RecentFileScanner>},
        {"Shared DLL", "Shared DLL:start", "shareddll", IDC_LABEL_SHARED_DLL, IDC_COUNT_SHARED_DLL,
         SharedDllKeys, Make<SharedDllScanner>},
        {"Shared folder", "Shared folder:start", "sharedfolder", IDC_LABEL_SHARED_FOLDERS,
         IDC_COUNT_SHARED_FOLDERS, SharedFolderKeys, Make<SharedFolderScanner>},
        {"Startup program", "Startup program:start", "run", IDC_LABEL_STARTUP_PROGRAM,
         IDC_COUNT_STARTUP_PROGRAM, StartupProgramKeys, Make<StartupProgramScanner>},
        {"COM/ActiveX", "COM/ActiveX: start", "com", IDC_LABEL_COM, IDC_COUNT_COM, ComObjectKeys,
         Make<ComObjectScanner>},
        {"Browser Helper object", "Browser Helper object: start", "bho", IDC_LABEL_BHO,
         IDC_COUNT_BHO, BrowserHelperObjectKeys, Make<BrowserHelperObjectScanner>},
        {"Shortcut", "Shortcut:start", "shortcut", IDC_LABEL_SHORTCUTS, IDC_COUNT_SHORTCUTS, {},
         Make<ShortcutScanner>},
        {"Type Library", "Type Library:start", "typelib", IDC_LABEL_TYPE_LIBRARY, IDC_COUNT_TYPE_LIBRARY,
         TypeLibraryKeys, Make<TypeLibraryScanner>},
        {"Interface", "Interface:start", "interface", IDC_LABEL_INTERFACE, IDC_COUNT_INTERFACE, InterfaceKeys,
         Make<InterfaceScanner>},
        {"Shell Extension", "Shell Extension:start", "shellext", IDC_LABEL_SHELL_EXTENSION,
         IDC_COUNT_SHELL_EXTENSION, ShellExtensionKeys, Make<ShellExtensionScanner>},
        {"MUI Cache", "MUI Cache:start", "muicache", IDC_LABEL_MUI_CACHE, IDC_COUNT_MUI_CACHE, MuiCacheKeys,
         Make<MuiCacheScanner>},
        {"Sound Event", "Sound Event:start", "sound", IDC_LABEL_SOUND_EVENT, IDC_COUNT_SOUND_EVENT, SoundEventKeys,
         Make<SoundEventScanner>},
        {"Compatibility Setting", "Compatibility Setting:start", "compat", IDC_LABEL_COMPATIBILITY,
         IDC_COUNT_COMPATIBILITY, CompatibilitySettingKeys, Make<CompatibilitySettingScanner>},
        {"Installer Folder", "Installer Folder:start", "installerfolder", IDC_LABEL_INSTALLER_FOLDER,
         IDC_COUNT_INSTALLER_FOLDER, InstallerFolderKeys, Make<InstallerFolderScanner>},
        {"Service", "Service:start", "service", IDC_LABEL_SERVICE, IDC_COUNT_SERVICE, ServiceKeys,
         Make<ServiceScanner>},
    }};
    return table;
}

bool LeavesOut(const std::string& tagList, const CategoryInfo& category)
{
    size_t start = 0;
    while (start <= tagList.size()) {
        size_t end = tagList.find(';', start);
        end = end == std::string::npos ? tagList.size() : end;
        const std::string tag = tagList.substr(start, end - start);
        if (!tag.empty() && lstrcmpiA(tag.c_str(), category.tag) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

UINT CounterLabelId(int i) noexcept
{
    return i == 0 ? IDC_ERRORS_FOUND : Categories()[static_cast<size_t>(i - 1)].labelId;
}

UINT CounterId(int i) noexcept
{
    return i == 0 ? IDC_TOTAL_COUNT : Categories()[static_cast<size_t>(i - 1)].counterId;
}
