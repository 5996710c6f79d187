#include "scanners/ClassKeys.h"

#include "registry/RegistryKey.h"
#include "registry/UniqueHandle.h"

#include <cctype>

namespace {

// The first half that holds parent\name, or null; unsure is set when a half before it could not be asked.
HKEY HalfHolding(const std::string& parent, const std::string& name, RegistryView view, Looks& looks, bool& unsure)
{
    const std::string classes = JoinPath("Software", "Classes");
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const RegistryKey key(root, parent.empty() ? classes : JoinPath(classes, parent), name, view);
        UniqueHkey handle;
        const LONG opened = key.OpenHandle(KEY_QUERY_VALUE, handle);
        const std::string looked = key.FullPath() + ViewMark(view);
        if (opened == ERROR_SUCCESS) {
            looks.Note(looked, Presence::Present, "key present");
            return root;
        }
        if (opened == ERROR_FILE_NOT_FOUND) {
            looks.Note(looked, Presence::Absent, "key absent");
        } else {
            looks.NoteError(looked, static_cast<DWORD>(opened));
            unsure = true;
        }
    }
    return nullptr;
}

}  // namespace

bool ClassIsRegistered(const std::string& parent, const std::string& name, RegistryView view, Looks& looks)
{
    bool unsure = false;
    return HalfHolding(parent, name, view, looks, unsure) != nullptr;
}

HKEY RegisteredHalf(const std::string& parent, const std::string& name, RegistryView view, Looks& looks)
{
    bool unsure = false;
    const HKEY half = HalfHolding(parent, name, view, looks, unsure);
    // The machine's half cannot stand in for a user's half that may hold the class.
    return unsure ? nullptr : half;
}

bool IsClassIdText(const std::string& text) noexcept
{
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') {
        return false;
    }
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
    }
    return true;
}

std::string ClassVerdicts::Folded(const std::string& key)
{
    std::string folded = key;
    for (char& c : folded) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return folded;
}
