#include "engine/ScanResults.h"

ScanResults& TheScanResults() noexcept
{
    static ScanResults results;
    return results;
}
