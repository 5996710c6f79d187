// What the results list's row menu does outside the list: the registry editor, the clipboard and the shell.
#pragma once

#include "registry/UniqueHandle.h"

#include <windows.h>

#include <string>

// The text the registry editor reads from its remembered LastKey to open at keyPath ("HKEY_CURRENT_USER\..."):
// the root item's name, a backslash and the path on Windows, the bare path under Wine, whose editor matches
// from the hives down. The root item's name is taken over from previous, the current LastKey, since it is
// translated with Windows' own language.
std::string RegistryEditorPath(const std::string& keyPath, const std::string& previous, bool underWine);
// Sets the current user's LastKey to keyPath and starts the registry editor: its process, or none when it could
// not be started.
UniqueKernelHandle OpenInRegistryEditor(const std::string& keyPath);
// Replaces the clipboard's contents by text; false when the clipboard could not be had.
bool CopyToClipboard(HWND owner, const std::string& text);
// Has the shell show the file's folder with the file selected, or the folder alone when the file has gone.
bool ShowInFolder(HWND owner, const std::string& filePath);
