#include "scanners/ComObjectScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

ComObjectScanner::ComObjectScanner(IniStore* ini) : ComObjectScanner(ini, Category::ComObject) {}

ComObjectScanner::ComObjectScanner(IniStore* ini, Category category) : CategoryScanner(ini, category) {}

bool ComObjectScanner::OnKey(RegistryKey* classKey)
{
    if (!classKey) {
        return true;
    }
    if (const std::optional<std::string> serverFile = MissingServer(*classKey, Looked())) {
        ReportIssue(KeyIssue, classKey, " missing file:" + *serverFile);
    }
    return true;
}

std::optional<std::string> ComObjectScanner::MissingServer(RegistryKey& classKey, Looks& looks)
{
    // Classes served only by a local server, or by nothing, are not judged.
    Ref<RegistryKey> server(new RegistryKey(classKey, "InprocServer32"));
    Ref<RegistryValue> value;
    if (!ReadForJudging(*server, "", value) || !value) {
        return std::nullopt;
    }
    std::string serverFile = value->GetString(0);
    // A server on a drive that is away right now may well still be there.
    if (Searches().IsFound(serverFile, looks) || !IsOnAvailableDrive(ExtractProgramPath(serverFile))) {
        return std::nullopt;
    }
    return serverFile;
}
