// Loading the program's own resources by id. Every loader reports a missing resource as an empty result,
// so callers decide whether to carry on without it.
#pragma once

#include "framework/GdiHandles.h"

#include <windows.h>

#include <string>

// The module resources come from: the program's own unless the application object set another.
HINSTANCE ResourceInstance() noexcept;
void SetResourceInstance(HINSTANCE instance) noexcept;

UniqueBitmap LoadBitmapResource(UINT id) noexcept;
// An icon of the given size in pixels (0 for the system's size of large icons); owned by the caller.
UniqueIcon LoadIconResource(UINT id, int size = 0) noexcept;
UniqueMenu LoadMenuResource(UINT id) noexcept;
// Accelerator tables from resources are freed with the module, so the handle is only borrowed.
HACCEL LoadAcceleratorResource(UINT id) noexcept;
// The string, or empty when there is none.
std::string LoadStringResource(UINT id);
