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

ScannerList* CreateScannerList()
{
    static std::unique_ptr<ScannerList> current;
    current.reset();
    current.reset(new (std::nothrow) ScannerList);
    if (!current) {
        return nullptr;
    }
    IniStore* ini = &SharedIniStore();
    current->Append(std::make_unique<AppPathScanner>(ini));
    current->Append(std::make_unique<UninstallScanner>(ini));
    current->Append(std::make_unique<HelpFileScanner>(ini));
    current->Append(std::make_unique<FileExtensionScanner>(ini));
    current->Append(std::make_unique<FileExtensionReferenceScanner>(ini));
    current->Append(std::make_unique<FontFileScanner>(ini));
    current->Append(std::make_unique<RecentFileScanner>(ini));
    current->Append(std::make_unique<SharedDllScanner>(ini));
    current->Append(std::make_unique<SharedFolderScanner>(ini));
    current->Append(std::make_unique<StartupProgramScanner>(ini));
    current->Append(std::make_unique<ComObjectScanner>(ini));
    current->Append(std::make_unique<BrowserHelperObjectScanner>(ini));
    current->Append(std::make_unique<ShortcutScanner>(ini));
    return current.get();
}
