// Where every control of the main window goes for a client size and DPI: the buttons and banner keep to their
// edges, the counters stack in as many columns as their height allows, and the results list takes the rest.
// Plain arithmetic, so that it can be checked without a window.
#pragma once

#include <windows.h>

#include <vector>

struct ControlPlace {
    UINT id;
    RECT rect;
};

struct MainWindowLayout {
    std::vector<ControlPlace> controls;
    // The results list and the details area below it share this rectangle.
    RECT results{};
    // The skin's header band, its banner and the hairline above the lower buttons.
    int headerHeight = 0;
    RECT banner{};
    int footerLine = 0;
    int hairline = 1;
    int counterColumns = 1;
};

// The smallest client area, in 96-DPI pixels: the size of the original skin.
constexpr SIZE kMainWindowMinClient{625, 415};

// The layout for a client area of client pixels at dpi, whose text lines are textHeight pixels high.
MainWindowLayout LayOutMainWindow(SIZE client, UINT dpi, int textHeight);
