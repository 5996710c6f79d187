// Removes a service or driver through the Service Control Manager, which keeps its own list of services beside
// their keys: a key deleted behind its back leaves a service that still answers until Windows restarts.
#pragma once

#include <string>

class RegistryKey;

enum class ServiceRemoval {
    Removed,   // the manager removed it (and with it the key)
    NotKnown,  // the manager does not know the name (a key it never loaded): the key alone was deleted
    Running,   // not stopped: left alone
    Failed,    // the manager refused: left alone
};

// Removes the service whose key is serviceKey (a subkey of the Services key), never while it runs.
ServiceRemoval RemoveService(RegistryKey& serviceKey);
