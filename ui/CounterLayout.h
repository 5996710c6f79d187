// Places the category counters of a window (the main window, the pop-up): one row of label and counter per shown
// category, in table order, in as many columns as the area needs at the smallest row height that still reads.
#pragma once

#include "engine/ScanResults.h"

#include <windows.h>

#include <array>

// In dialog units of the window.
struct CounterArea {
    RECT area;         // where the rows go
    int counterWidth;  // the counter's part of a column; the label takes the rest
    int minPitch;      // the row heights allowed, top to top
    int maxPitch;
};

// A shown category gets its row; the others are hidden.
void LayOutCounters(HWND window, const CounterArea& area, const std::array<bool, CategoryCount>& shown);
