#include "scanners/UninstallScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"

namespace {

// Commands of the system's own uninstall services are never judged. The words are
// matched as written, with regard to case.
bool IsSystemUninstaller(const std::string& command)
{
    static const char* const services[] = {"ISUNINST.EXE", "rundll32.exe", "msiexec.exe"};
    for (const char* service : services) {
        if (command.find(service) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

UninstallScanner::UninstallScanner(IniStore* ini) : CategoryScanner(ini, Category::Uninstall) {}

bool UninstallScanner::OnKey(RegistryKey* entry)
{
    if (!entry) {
        return true;
    }
    Ref<RegistryValue> uninstall;
    if (!ReadForJudging(*entry, "UninstallString", uninstall) || !uninstall || uninstall->Type() != REG_SZ) {
        return true;
    }
    const std::string command = uninstall->GetString(0);
    // An uninstaller that asks for elevation cannot be started here, yet it is there.
    if (IsSystemUninstaller(command) || !Commands().IsGone(command, Looked())) {
        return true;
    }
    ReportIssue(KeyIssue, entry, " missing file:" + command);
    return true;
}
