#include "registry/RegistryView.h"

#include "registry/UniqueHandle.h"

#include <algorithm>

namespace {

constexpr bool IsBuild64 = sizeof(void*) == 8;

// The kernel's name of the key a handle is open on; empty when it cannot be read. Two handles on one key give
// the same name, whichever view they were opened through.
std::wstring KernelNameOf(HKEY key)
{
    using QueryKey = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    constexpr int KeyNameInformation = 3;
    static const auto query = reinterpret_cast<QueryKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryKey")));
    if (!query) {
        return {};
    }
    // KEY_NAME_INFORMATION: a byte count, then the name.
    std::vector<ULONG> buffer(8192);
    ULONG needed = 0;
    if (query(key, KeyNameInformation, buffer.data(), static_cast<ULONG>(buffer.size() * sizeof(ULONG)), &needed) !=
        0) {
        return {};
    }
    const auto* name = reinterpret_cast<const wchar_t*>(buffer.data() + 1);
    return std::wstring(name, buffer[0] / sizeof(wchar_t));
}

std::wstring KernelNameIn(HKEY root, const std::string& path, RegistryView view)
{
    UniqueHkey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | AccessOf(view), key.put()) != ERROR_SUCCESS) {
        return {};
    }
    return KernelNameOf(key.get());
}

bool IsSameKeyInBothViews(HKEY root, const std::string& path)
{
    const std::wstring in64 = KernelNameIn(root, path, RegistryView::Bits64);
    const std::wstring in32 = KernelNameIn(root, path, RegistryView::Bits32);
    return !in64.empty() && CompareStringOrdinal(in64.c_str(), -1, in32.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::string Environment(const char* name)
{
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) {
        return {};
    }
    std::vector<char> value(needed);
    const DWORD length = GetEnvironmentVariableA(name, value.data(), needed);
    return length > 0 && length < needed ? std::string(value.data(), length) : std::string();
}

bool HoldsVariable(const std::string& text, const std::string& name)
{
    const std::string token = "%" + name + "%";
    for (size_t at = 0; (at = text.find('%', at)) != std::string::npos; ++at) {
        if (text.size() - at >= token.size() &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + at, static_cast<int>(token.size()),
                           token.c_str(), static_cast<int>(token.size())) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

// Replaces each %name% (any case) by the value of the variable other; nothing when other is not set.
void Substitute(std::string& text, const std::string& name, const char* other)
{
    const std::string value = Environment(other);
    if (value.empty()) {
        return;
    }
    const std::string token = "%" + name + "%";
    for (size_t at = 0; (at = text.find('%', at)) != std::string::npos;) {
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + at,
                           static_cast<int>(std::min(token.size(), text.size() - at)), token.c_str(),
                           static_cast<int>(token.size())) == CSTR_EQUAL) {
            text.replace(at, token.size(), value);
            at += value.size();
        } else {
            ++at;
        }
    }
}

}  // namespace

REGSAM AccessOf(RegistryView view) noexcept
{
    switch (view) {
    case RegistryView::Bits64:
        return KEY_WOW64_64KEY;
    case RegistryView::Bits32:
        return KEY_WOW64_32KEY;
    default:
        return 0;
    }
}

bool IsWindows64() noexcept
{
    if (IsBuild64) {
        return true;
    }
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

const char* ViewName(RegistryView view) noexcept
{
    switch (view) {
    case RegistryView::Bits64:
        return "64-bit";
    case RegistryView::Bits32:
        return "32-bit";
    default:
        return "";
    }
}

std::optional<RegistryView> ViewNamed(const std::string& name)
{
    for (const RegistryView view : {RegistryView::Default, RegistryView::Bits64, RegistryView::Bits32}) {
        if (name == ViewName(view)) {
            return view;
        }
    }
    return std::nullopt;
}

std::string ViewMark(RegistryView view)
{
    const RegistryView own = IsBuild64 ? RegistryView::Bits64 : RegistryView::Bits32;
    return view == RegistryView::Default || view == own ? std::string() : std::string(" (") + ViewName(view) + ")";
}

std::vector<RegistryView> ViewsToWalk(HKEY root, const std::string& path, bool keptApart)
{
    if (!keptApart || !IsWindows64() || IsSameKeyInBothViews(root, path)) {
        return {RegistryView::Default};
    }
    return {RegistryView::Bits64, RegistryView::Bits32};
}

std::string ExpandInView(const std::string& text, RegistryView view)
{
    if (text.find('%') == std::string::npos) {
        return text;
    }
    std::string named = text;
    // A shared key is read by programs of either kind; 64-bit Windows' own programs read it as 64-bit ones.
    const bool as64 = view != RegistryView::Bits32;
    if (IsWindows64() && as64 != IsBuild64) {
        Substitute(named, "ProgramFiles", as64 ? "ProgramW6432" : "ProgramFiles(x86)");
        Substitute(named, "CommonProgramFiles", as64 ? "CommonProgramW6432" : "CommonProgramFiles(x86)");
    }
    return ExpandVariables(named);
}

std::string ExpandVariables(const std::string& text)
{
    if (text.find('%') == std::string::npos) {
        return text;
    }
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) {
        return text;
    }
    std::vector<char> expanded(needed);
    const DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    return written != 0 && written <= needed ? std::string(expanded.data()) : text;
}

bool NamesPerUserVariable(const std::string& text)
{
    // Set for each user at log-on, from the user's profile.
    static const char* const perUser[] = {"APPDATA",   "LOCALAPPDATA", "USERPROFILE", "HOMEDRIVE",    "HOMEPATH",
                                          "HOMESHARE", "TEMP",         "TMP",         "USERNAME",     "USERDOMAIN",
                                          "USERDNSDOMAIN", "LOGONSERVER", "ONEDRIVE", "CLIENTNAME", "SESSIONNAME"};
    if (text.find('%') == std::string::npos) {
        return false;
    }
    for (const char* name : perUser) {
        if (HoldsVariable(text, name)) {
            return true;
        }
    }
    return false;
}
