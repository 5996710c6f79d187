// What the last scan found, shared by the main window and the pop-up notifier.
#pragma once

#include "engine/ScannerList.h"

#include <array>
#include <string>

// Index 0 is the total; index i + 1 belongs to the scanner at index i of the scanner list.
constexpr int ErrorCounterCount = CategoryCount + 1;

struct ScanResults {
    std::array<int, ErrorCounterCount> errorCounters{};
    bool notificationPending = false;  // a scan ended and its announcement is still due
    bool repairRun = false;            // a repair ran since the last scan start
    // The categories the last scan left out at the user's choice, by their place in the scanner list.
    std::array<bool, CategoryCount> leftOut{};
};

// What counter i shows: its number, or "off" for a category the scan left out, whose 0 would claim it was clean.
std::string CounterText(const ScanResults& results, int i);

// The one record of the process; only the user-interface thread touches it.
ScanResults& TheScanResults() noexcept;
