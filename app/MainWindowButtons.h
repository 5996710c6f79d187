// The main window's six skinned buttons and its busy indicator: their bitmaps for each state.
#pragma once

#include "ui/SkinButton.h"

#include <windows.h>

#include <array>

constexpr int kMainWindowButtonCount = 6;
using MainWindowButtons = std::array<CSkinButton, kMainWindowButtonCount>;

// Binds the six buttons to their controls of dialog and gives them their faces; the busy indicator gets its
// picture and animation frames. The window's layout places them.
void BindMainWindowButtons(HWND dialog, MainWindowButtons& buttons, CSkinButton& busy);
