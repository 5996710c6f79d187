// The fixed list of category scanners, made afresh for every scan.
#include "engine/IniStore.h"
#include "engine/ScannerList.h"
#include "scanners/AppPathScanner.h"
#include "scanners/BrowserHelperObjectScanner.h"
#include "scanners/ComObjectScanner.h"
#include "scanners/FileExtensionReferenceScanner.h"
#include "scanners/FileExtensionScanner.h"
#include "scanners/FontFileScanner.h"
#include "scanners/HelpFileScanner.h"
#include "scanners/RecentFileScanner.h"
#include "scanners/SharedDllScanner.h"
#include "scanners/SharedFolderScanner.h"
#include "scanners/ShortcutScanner.h"
#include "scanners/StartupProgramScanner.h"
#include "scanners/UninstallScanner.h"

#include <memory>
#include <new>

namespace {

// A scanner that cannot be allocated leaves a null at its place in the list.
template <class Scanner>
std::unique_ptr<RegistryScanner> Make(IniStore* ini)
{
    return std::unique_ptr<RegistryScanner>(new (std::nothrow) Scanner(ini));
}

}  // namespace

ScannerList* CreateScannerList()
{
    static std::unique_ptr<ScannerList> current;
    current.reset();
    current.reset(new (std::nothrow) ScannerList);
    if (!current) {
        return nullptr;
    }
    IniStore* ini = &SharedIniStore();
    current->Append(Make<AppPathScanner>(ini));
    current->Append(Make<UninstallScanner>(ini));
    current->Append(Make<HelpFileScanner>(ini));
    current->Append(Make<FileExtensionScanner>(ini));
    current->Append(Make<FileExtensionReferenceScanner>(ini));
    current->Append(Make<FontFileScanner>(ini));
    current->Append(Make<RecentFileScanner>(ini));
    current->Append(Make<SharedDllScanner>(ini));
    current->Append(Make<SharedFolderScanner>(ini));
    current->Append(Make<StartupProgramScanner>(ini));
    current->Append(Make<ComObjectScanner>(ini));
    current->Append(Make<BrowserHelperObjectScanner>(ini));
    current->Append(Make<ShortcutScanner>(ini));
    return current.get();
}
