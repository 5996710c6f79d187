// The fixed list of category scanners, made afresh for every scan.
#include "engine/IniStore.h"
#include "engine/ScannerList.h"
#include "scanners/StartupProgramScanner.h"

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
    current->Append(std::make_unique<StartupProgramScanner>(ini));
    return current.get();
}
