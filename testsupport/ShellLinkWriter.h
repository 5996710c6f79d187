// Writes shortcut (.lnk) files directly in the shell-link binary format, so that a
// fixture can make tens of thousands of them without a COM call per file.
#pragma once

#include <string>

// A shortcut whose only target information is a local path (a link-info block with
// a volume id and a local base path), as the system's own shortcuts to a path hold.
// False when the file cannot be written or the path does not fit the format.
bool WriteShellLink(const std::string& linkPath, const std::string& targetPath);
