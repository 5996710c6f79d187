// Removes a service or driver through the Service Control Manager, which keeps its own list of services beside
// their keys: a key deleted behind its back leaves a service that still answers until Windows restarts.
#pragma once

#include "registry/RefCounted.h"

#include <string>
#include <vector>

class RegistryKey;

enum class ServiceRemoval {
    Removed,   // the manager removed it (and with it the key)
    NotKnown,  // the manager does not know the name (a key it never loaded): the backed-up keys alone were deleted
    Running,   // not stopped: left alone
    Failed,    // the manager refused: left alone
};

// Removes the service whose key is serviceKey (a subkey of the Services key), never while it runs. backedUpTree
// lists the keys of its backup, deleted when the manager does not know the service.
ServiceRemoval RemoveService(RegistryKey& serviceKey, const std::vector<Ref<RegistryKey>>& backedUpTree);
