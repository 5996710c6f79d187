// What the main window remembers for the user between runs (under HKEY_CURRENT_USER\Software\Quenmark\Corvadin):
// its place and maximised state, the results list's column widths and its sort order. Values that do not read
// back whole are passed over, and the window opens as it would the first time.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct WindowMemory {
    // The window's place when not maximised, in workspace coordinates.
    std::optional<RECT> place;
    bool maximised = false;
    // In 96-DPI pixels, from the first column.
    std::vector<int> columnWidths;
    // -1 while the list keeps the order of the scan.
    int sortColumn = -1;
    bool sortAscending = true;
};

WindowMemory LoadWindowMemory(HKEY root, const std::string& keyPath);
// False when a value could not be written.
bool SaveWindowMemory(HKEY root, const std::string& keyPath, const WindowMemory& memory);

// The texts the values hold, and their strict readers (nothing for text that is not whole).
std::string PlaceText(const RECT& place, bool maximised);
std::optional<std::pair<RECT, bool>> ReadPlace(const std::string& text);
std::string NumbersText(const std::vector<int>& numbers);
std::optional<std::vector<int>> ReadNumbers(const std::string& text);

// Whether place lies at least partly on a screen that is there now.
bool IsOnAScreen(const RECT& place) noexcept;
