// The scanners of one scan, in their fixed order.
#pragma once

#include "engine/RegistryScanner.h"

#include <memory>
#include <vector>

// How many categories a scan has: one scanner each (their table is scanners/Categories.h).
inline constexpr int CategoryCount = 21;

class ScannerList {
public:
    virtual ~ScannerList() = default;
    virtual int Count() const { return static_cast<int>(scanners_.size()); }
    // Null past the end, or where a scanner could not be made.
    virtual RegistryScanner* At(int index) const
    {
        return index >= 0 && index < Count() ? scanners_[index].get() : nullptr;
    }
    void Append(std::unique_ptr<RegistryScanner> scanner) { scanners_.push_back(std::move(scanner)); }

private:
    std::vector<std::unique_ptr<RegistryScanner>> scanners_;
};

// Replaces the process-wide list (destroying the previous one and its scanners)
// with a fresh one of every scanner, each sharing the process-wide IniStore.
ScannerList* CreateScannerList();
