#include "scanners/InterfaceScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"

InterfaceScanner::InterfaceScanner(IniStore* ini) : CategoryScanner(ini, Category::Interface) {}

bool InterfaceScanner::OnKey(RegistryKey* interfaceKey)
{
    if (!interfaceKey) {
        return true;
    }
    bool judgeable = true;
    std::string proxy = NamedId(*interfaceKey, "ProxyStubClsid32", judgeable);
    if (proxy.empty() && judgeable) {
        proxy = NamedId(*interfaceKey, "ProxyStubClsid", judgeable);
    }
    const std::string library = judgeable ? NamedId(*interfaceKey, "TypeLib", judgeable) : std::string();
    if (!judgeable) {
        return true;
    }
    const RegistryView view = interfaceKey->View();
    std::string problem = proxy.empty() ? std::string() : MissingLink("CLSID", proxy, view);
    if (problem.empty() && !library.empty()) {
        problem = MissingLink("TypeLib", library, view);
    }
    if (!problem.empty()) {
        ReportIssue(KeyIssue, interfaceKey, problem);
    }
    return true;
}

std::string InterfaceScanner::NamedId(RegistryKey& interfaceKey, const char* subkey, bool& judgeable)
{
    Ref<RegistryKey> key(new RegistryKey(interfaceKey, subkey));
    Ref<RegistryValue> value;
    judgeable = ReadForJudging(*key, "", value);
    const std::string id = value ? value->GetString(0) : std::string();
    return IsClassIdText(id) ? id : std::string();
}

std::string InterfaceScanner::MissingLink(const char* parent, const std::string& id, RegistryView view)
{
    const std::string name = std::string(parent) + "\\" + id;
    return Classes().Of(name + ViewMark(view), Looked(), [&](Looks& looks) {
        return ClassIsRegistered(parent, id, view, looks) ? std::string() : " missing link:HKEY_CLASSES_ROOT\\" + name;
    });
}
