#include "scanners/ClassKeys.h"

#include "registry/RegistryKey.h"
#include "registry/UniqueHandle.h"

bool ClassIsRegistered(const std::string& parent, const std::string& name, RegistryView view, Looks& looks)
{
    const std::string classes = JoinPath("Software", "Classes");
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        const RegistryKey key(root, parent.empty() ? classes : JoinPath(classes, parent), name, view);
        UniqueHkey handle;
        const LONG opened = key.OpenHandle(KEY_QUERY_VALUE, handle);
        const std::string looked = key.FullPath() + ViewMark(view);
        if (opened == ERROR_SUCCESS) {
            looks.Note(looked, Presence::Present, "key present");
            return true;
        }
        if (opened == ERROR_FILE_NOT_FOUND) {
            looks.Note(looked, Presence::Absent, "key absent");
        } else {
            looks.NoteError(looked, static_cast<DWORD>(opened));
        }
    }
    return false;
}
