// What the last scan found, shared by the main window and the pop-up notifier.
#pragma once

#include "engine/ScannerList.h"

#include <array>

// Index 0 is the total; index i + 1 belongs to the scanner at index i of the scanner list.
constexpr int ErrorCounterCount = CategoryCount + 1;

struct ScanResults {
    std::array<int, ErrorCounterCount> errorCounters{};
    bool notificationPending = false;  // a scan ended and its announcement is still due
    bool repairRun = false;            // a repair ran since the last scan start
};

// The one record of the process; only the user-interface thread touches it.
ScanResults& TheScanResults() noexcept;
