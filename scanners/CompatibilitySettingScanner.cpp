#include "scanners/CompatibilitySettingScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

CompatibilitySettingScanner::CompatibilitySettingScanner(IniStore* ini)
    : CategoryScanner(ini, Category::CompatibilitySetting)
{
}

bool CompatibilitySettingScanner::OnValue(RegistryValue* value)
{
    // The assistant also keeps records named by install media signatures, which name no file.
    if (!value || !IsFullyQualified(value->Name())) {
        return true;
    }
    const std::string& program = value->Name();
    if (FileOrFolderExists(program, Looked()) || !IsOnAvailableDrive(program)) {
        return true;
    }
    ReportIssue(ValueIssue, value, " missing file:" + program);
    return true;
}
