#include "engine/ScanResults.h"

ScanResults& TheScanResults() noexcept
{
    static ScanResults results;
    return results;
}

std::string CounterText(const ScanResults& results, int i)
{
    if (i > 0 && i < ErrorCounterCount && results.leftOut[static_cast<size_t>(i - 1)]) {
        return "off";
    }
    return i >= 0 && i < ErrorCounterCount ? std::to_string(results.errorCounters[static_cast<size_t>(i)]) : "";
}
