#include "repair/ServiceRemoval.h"

#include "registry/OperationLog.h"
#include "registry/RegistryKey.h"
#include "registry/UniqueHandle.h"
#include "repair/RegistryDeleter.h"

ServiceRemoval RemoveService(RegistryKey& serviceKey, const std::vector<Ref<RegistryKey>>& backedUpTree)
{
    const std::string name = serviceKey.Name();
    const UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) {
        OperationLog::Write("Service " + name + ": the service manager cannot be reached; left alone");
        return ServiceRemoval::Failed;
    }
    const UniqueServiceHandle service(OpenServiceA(manager.get(), name.c_str(), DELETE | SERVICE_QUERY_STATUS));
    if (!service) {
        const DWORD error = GetLastError();
        if (error != ERROR_SERVICE_DOES_NOT_EXIST) {
            OperationLog::Write("Service " + name + ": cannot be opened (error " + std::to_string(error) +
                                "); left alone");
            return ServiceRemoval::Failed;
        }
        DeleteKeys(backedUpTree);
        return ServiceRemoval::NotKnown;
    }
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.get(), &status) || status.dwCurrentState != SERVICE_STOPPED) {
        OperationLog::Write("Service " + name + ": not stopped; left alone");
        return ServiceRemoval::Running;
    }
    if (!DeleteService(service.get())) {
        const DWORD error = GetLastError();
        OperationLog::Write("Service " + name + ": the service manager refused (error " + std::to_string(error) +
                            "); left alone");
        return ServiceRemoval::Failed;
    }
    // The manager deletes the key once the last handle on the service is closed, on leaving here.
    return ServiceRemoval::Removed;
}
