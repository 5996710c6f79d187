#include "scanners/CompatibilitySettingScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"

CompatibilitySettingScanner::CompatibilitySettingScanner(IniStore* ini)
    : CategoryScanner(ini, Category::CompatibilitySetting)
{
}

bool CompatibilitySettingScanner::OnValue(RegistryValue* value)
{
    // The assistant also keeps records named by install media signatures, which name no file.
    if (value) {
        JudgePlaceNamed(*value, " missing file:");
    }
    return true;
}
