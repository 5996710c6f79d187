#include "scanners/ComObjectScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

ComObjectScanner::ComObjectScanner(IniStore* ini) : CategoryScanner(ini, Category::ComObject) {}

bool ComObjectScanner::OnKey(RegistryKey* classKey)
{
    if (!classKey) {
        return true;
    }
    // Classes served only by a local server, or by nothing, are not judged.
    Ref<RegistryKey> server(new RegistryKey(*classKey, "InprocServer32"));
    Ref<RegistryValue> value;
    if (!ReadForJudging(*server, "", value) || !value) {
        return true;
    }
    const std::string serverFile = value->GetString(0);
    // A server on a drive that is away right now may well still be there.
    if (Searches().IsFound(serverFile, Looked()) || !IsOnAvailableDrive(ExtractProgramPath(serverFile))) {
        return true;
    }
    ReportIssue(KeyIssue, classKey, " missing file:" + serverFile);
    return true;
}
