// The shell's folder browser for a page's path field: it opens on the folder the field names (or the Recycle
// Bin for "recycle bin") and puts the chosen folder into the field.
#pragma once

#include <windows.h>

// Lets the user choose a folder for the edit control field of page. A cancelled browser, or a choice that is no
// file-system folder, leaves the field as it was.
void BrowseForFolder(HWND page, UINT field);

// Whether text names the Recycle Bin, in any letter case.
bool IsRecycleBinName(const char* text);
