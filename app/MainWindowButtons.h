// The main window's six skinned buttons and its busy indicator: their bitmaps for each state and their places on
// the skin.
#pragma once

#include "ui/SkinButton.h"

#include <windows.h>

#include <array>

constexpr int kMainWindowButtonCount = 6;
using MainWindowButtons = std::array<CSkinButton, kMainWindowButtonCount>;

// Binds the six buttons to their controls of dialog, gives them their faces and moves them to their places; the
// busy indicator gets its picture and animation frames.
void BindMainWindowButtons(HWND dialog, MainWindowButtons& buttons, CSkinButton& busy);
