// The scanner list, made afresh for every scan from the table of categories.
#include "engine/IniStore.h"
#include "engine/ScannerList.h"
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
    for (const CategoryInfo& category : Categories()) {
        current->Append(category.make(ini));
    }
    return current.get();
}
