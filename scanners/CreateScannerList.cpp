// The scanner list, made afresh for every scan from the table of categories.
#include "engine/IniStore.h"
#include "engine/ScannerList.h"
#include "scanners/CategoryScanner.h"
#include "scanners/Categories.h"

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
    // One scan decides each command line once, whichever categories name it.
    const auto commands = std::make_shared<CommandVerdicts>();
    const auto keyPaths = std::make_shared<InstallerKeyPaths>();
    for (const CategoryInfo& category : Categories()) {
        std::unique_ptr<RegistryScanner> scanner = category.make(ini);
        if (auto* categoryScanner = dynamic_cast<CategoryScanner*>(scanner.get())) {
            categoryScanner->ShareCommands(commands);
            categoryScanner->ShareKeyPaths(keyPaths);
        }
        current->Append(std::move(scanner));
    }
    return current.get();
}
