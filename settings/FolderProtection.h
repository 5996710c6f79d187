// Whether users who are not administrators may change what lies in a folder, read from its security descriptor.
// Corvadin runs elevated from its own folder, so a folder they may change hands them administrator rights.
#pragma once

#include <string>

struct FolderProtection {
    enum class State { Protected, OpenToUsers, CannotTell };
    State state = State::CannotTell;
    // Who may change the folder, or why its descriptor could not be read; empty when protected.
    std::string reason;
    // The owner and access list as descriptor text, to tell in a log line what was judged.
    std::string permissions;
};

// Looks for an allowing entry of every user's groups (Users, Authenticated Users, Everyone, Interactive) with a
// right to write, create, delete or re-permit, in the folder itself or passed on to what it holds.
FolderProtection CheckFolderProtection(const std::string& folder);
