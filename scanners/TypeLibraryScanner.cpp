#include "scanners/TypeLibraryScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "scanners/FileChecks.h"

#include <cctype>
#include <utility>
#include <vector>

namespace {

bool AllOf(const std::string& text, int (*test)(int))
{
    for (const char c : text) {
        if (!test(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return !text.empty();
}

// "C:\x\lib.dll\3" -> "C:\x\lib.dll": a library kept as resource 3 of its file.
std::string WithoutResourceNumber(const std::string& text)
{
    const size_t slash = text.rfind('\\');
    if (slash == std::string::npos || slash == 0 || !AllOf(text.substr(slash + 1), std::isdigit)) {
        return text;
    }
    return text.substr(0, slash);
}

// Locale subkeys are hexadecimal ("0", "409"); FLAGS and HELPDIR sit beside them.
bool IsLocaleName(const std::string& name)
{
    return AllOf(name, std::isxdigit);
}

}  // namespace

TypeLibraryScanner::TypeLibraryScanner(IniStore* ini) : CategoryScanner(ini, Category::TypeLibrary) {}

bool TypeLibraryScanner::OnKey(RegistryKey* libraryKey)
{
    if (!libraryKey) {
        return true;
    }
    std::vector<std::string> versions;
    if (ListSubkeys(*libraryKey, versions) != ERROR_SUCCESS || versions.empty()) {
        return true;
    }
    struct Broken {
        Ref<RegistryKey> key;
        std::string missing;
        Looks looks;
    };
    std::vector<Broken> broken;
    for (const std::string& version : versions) {
        Looked().Clear();
        Ref<RegistryKey> versionKey(
            new RegistryKey(libraryKey->RootHandle(), libraryKey->RelativePath(), version, libraryKey->View()));
        if (const std::optional<std::string> missing = MissingVersionFile(*versionKey)) {
            broken.push_back({versionKey, *missing, Looked()});
        }
    }
    // A library whose every version is gone goes whole: its key alone would be a leftover of its own.
    if (broken.size() == versions.size()) {
        Looked().Clear();
        for (const Broken& version : broken) {
            Looked().Add(version.looks);
        }
        ReportIssue(KeyIssue, libraryKey, " missing file:" + broken.front().missing);
        return true;
    }
    for (const Broken& version : broken) {
        Looked().Clear();
        Looked().Add(version.looks);
        ReportIssue(KeyIssue, version.key.get(), " missing file:" + version.missing);
    }
    return true;
}

void TypeLibraryScanner::Revisit(const ScanIssue& issue)
{
    const RegistryKey* key = issue.MatchingTarget() ? issue.MatchingTarget()->AsRegistryKey() : nullptr;
    if (!key) {
        return;
    }
    const std::string& parent = key->ParentPath();
    const size_t slash = parent.rfind('\\');
    const bool isLibrary = slash != std::string::npos && lstrcmpiA(parent.c_str() + slash + 1, "TypeLib") == 0;
    Ref<RegistryKey> library = isLibrary || slash == std::string::npos
                                   ? key->Fresh()
                                   : Ref<RegistryKey>(new RegistryKey(key->RootHandle(), parent.substr(0, slash),
                                                                      parent.substr(slash + 1), key->View()));
    OnKey(library.get());
}

std::optional<std::string> TypeLibraryScanner::MissingVersionFile(RegistryKey& versionKey)
{
    std::vector<std::string> locales;
    if (ListSubkeys(versionKey, locales) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::optional<std::string> firstMissing;
    for (const std::string& locale : locales) {
        if (!IsLocaleName(locale)) {
            continue;
        }
        for (const char* platform : {"win32", "win64"}) {
            // Held by a Ref: the values read from it hold the key too.
            const Ref<RegistryKey> platformKey(new RegistryKey(
                versionKey.RootHandle(), JoinPath(versionKey.RelativePath(), locale), platform, versionKey.View()));
            std::string named;
            bool judgeable = true;
            if (PlatformFileFound(*platformKey, named, judgeable) || !judgeable) {
                return std::nullopt;
            }
            if (!named.empty() && !firstMissing) {
                firstMissing = named;
            }
        }
    }
    return firstMissing;
}

bool TypeLibraryScanner::PlatformFileFound(RegistryKey& platformKey, std::string& named, bool& judgeable)
{
    const LONG opened = platformKey.TryOpen(KEY_QUERY_VALUE);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (opened != ERROR_SUCCESS) {
        Looked().NoteError(platformKey.FullPath() + ViewMark(platformKey.View()), static_cast<DWORD>(opened));
        return false;
    }
    Ref<RegistryValue> value;
    judgeable = ReadForJudging(platformKey, "", value);
    if (!judgeable || !value) {
        return false;
    }
    named = value->GetString(0);
    // A variable left unexpanded (REG_SZ data) names a file the loader may still find.
    if (named.find('%') != std::string::npos) {
        judgeable = false;
        return false;
    }
    const std::string file = WithoutResourceNumber(named);
    if (file.empty()) {
        return false;
    }
    return Searches().IsFound(file, Looked()) || !IsOnAvailableDrive(file);
}
