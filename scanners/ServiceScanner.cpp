#include "scanners/ServiceScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryValue.h"
#include "registry/RegistryView.h"
#include "scanners/FileChecks.h"
#include "scanners/ServiceImagePath.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD DriverTypes = SERVICE_KERNEL_DRIVER | SERVICE_FILE_SYSTEM_DRIVER | SERVICE_RECOGNIZER_DRIVER;

// The service type, or 0 when the key has none that can be read.
DWORD ServiceType(const RegistryValue* type)
{
    DWORD number = 0;
    if (type && type->Type() == REG_DWORD && type->Data().size() >= sizeof number) {
        std::memcpy(&number, type->Data().data(), sizeof number);
    }
    return number;
}

// The candidate a reader takes for the program: the first that ends in a program's extension, or the whole text.
const std::string& ShownProgram(const std::vector<std::string>& candidates)
{
    const auto program = std::find_if(candidates.begin(), candidates.end(), [](const std::string& path) {
        const size_t dot = path.size() >= 4 ? path.size() - 4 : 0;
        return path.size() > 4 && (lstrcmpiA(path.c_str() + dot, ".exe") == 0 ||
                                   lstrcmpiA(path.c_str() + dot, ".sys") == 0 ||
                                   lstrcmpiA(path.c_str() + dot, ".dll") == 0);
    });
    return program != candidates.end() ? *program : candidates.back();
}

}  // namespace

ServiceScanner::ServiceScanner(IniStore* ini) : CategoryScanner(ini, Category::Service) {}

std::vector<std::string> ServiceScanner::SharedProcessLibrary(RegistryKey& service)
{
    Ref<RegistryKey> parameters(new RegistryKey(service, "Parameters"));
    Ref<RegistryValue> library;
    const bool read = ReadForJudging(*parameters, "ServiceDll", library) && library;
    const std::string path = read ? library->GetString(0) : std::string();
    return IsFullyQualified(path) ? std::vector<std::string>{path} : std::vector<std::string>{};
}

std::vector<std::string> ServiceScanner::ProgramOf(RegistryKey& service)
{
    Ref<RegistryValue> typeValue;
    Ref<RegistryValue> imagePath;
    if (!ReadForJudging(service, "Type", typeValue) || !ReadForJudging(service, "ImagePath", imagePath)) {
        return {};
    }
    const DWORD type = ServiceType(typeValue.get());
    const bool driver = (type & DriverTypes) != 0;
    const std::string& windows = SystemWindowsFolder();
    if ((!driver && (type & SERVICE_WIN32) == 0) || windows.empty()) {
        return {};
    }
    if (!imagePath) {
        // A service without a program is not judged; a driver without one is loaded from the drivers folder.
        return driver ? std::vector<std::string>{DefaultDriverPath(service.Name(), windows)}
                      : std::vector<std::string>{};
    }
    const ServiceImage image = ParseImagePath(ExpandVariables(imagePath->GetString(0)), windows);
    return image.sharedProcess ? SharedProcessLibrary(service) : image.candidates;
}

bool ServiceScanner::OnKey(RegistryKey* service)
{
    const std::vector<std::string> candidates = service ? ProgramOf(*service) : std::vector<std::string>{};
    if (candidates.empty()) {
        return true;
    }
    const bool stands = std::any_of(candidates.begin(), candidates.end(), [this](const std::string& path) {
        return path.find('%') != std::string::npos || FileExists(path, Looked()) || !IsOnAvailableDrive(path);
    });
    if (!stands) {
        ReportIssue(KeyIssue, service, " missing file:" + ShownProgram(candidates));
    }
    return true;
}
