// Where Windows finds the program of a service or a driver, read from the ImagePath of its key the way Windows
// reads it.
#pragma once

#include <string>
#include <vector>

struct ServiceImage {
    // The files Windows may start, in the order it tries them; empty when the text is not a form that can be
    // judged (a name left to the search path, an empty text).
    std::vector<std::string> candidates;
    // "svchost.exe -k group": the service is the Parameters\ServiceDll library the shared process loads.
    bool sharedProcess = false;
};

// imagePath with its variables expanded; windows is the Windows folder ("C:\windows").
ServiceImage ParseImagePath(const std::string& imagePath, const std::string& windows);
// Where a driver without an ImagePath is loaded from.
std::string DefaultDriverPath(const std::string& serviceName, const std::string& windows);
