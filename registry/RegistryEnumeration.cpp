#include "registry/RegistryEnumeration.h"

#include "registry/CodePageText.h"
#include "registry/ProgressSink.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "registry/RegistryVisitor.h"
#include "registry/WalkContext.h"

#include <vector>

namespace {

enum class Walk { Subkeys, Values };

constexpr DWORD NameBufferSize = 1024;
constexpr size_t ValueBufferSize = 4096;

// Errors of one entry of its own: a name longer than the buffer, or an entry that
// went between the index and the read. Any other error (the key deleted under the
// walk, the handle gone bad, no memory) would come back at every index, so it ends
// the walk instead of running it through four billion indexes.
bool SkipsOnlyThisEntry(LONG result)
{
    return result == ERROR_MORE_DATA || result == ERROR_FILE_NOT_FOUND;
}

// The shared loop: EnumFunction reads the name at an index. Names are read wide, and an entry whose name does not
// fit the code page is passed over: opened or deleted by its code-page name it would be another entry, or none.
template <typename EnumFunction, typename Visit>
void WalkEntries(RegistryKey& key, WalkContext& context, Walk walk, EnumFunction enumerate, Visit visit)
{
    const bool openBefore = key.Handle() != nullptr;
    if (!key.Open(KEY_READ)) {
        return;
    }
    // The count is asked only for a progress bar: a walk nobody watches saves the registry the question.
    ProgressSink* sink = context.Progress();
    const bool steps = sink && context.OwnsProgress();
    if (steps) {
        DWORD subkeys = 0;
        DWORD values = 0;
        RegQueryInfoKeyA(key.Handle(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr);
        sink->SetRange(static_cast<int>(walk == Walk::Subkeys ? subkeys : values));
        sink->SetPosition(0);
    }
    wchar_t name[NameBufferSize];
    for (DWORD index = 0;; ++index) {
        DWORD length = NameBufferSize;
        const LONG result = enumerate(key.Handle(), index, name, &length);
        if (result == ERROR_NO_MORE_ITEMS || context.IsStopRequested()) {
            break;
        }
        if (result != ERROR_SUCCESS) {
            if (SkipsOnlyThisEntry(result)) {
                continue;
            }
            break;
        }
        const std::optional<std::string> narrow = ExactNarrow(name, length);
        if (!narrow) {
            context.NoteOutsideCodePage();
            continue;
        }
        const std::string& entryName = *narrow;
        context.NoteEntry();
        if (steps) {
            sink->Step(1);
        }
        if (sink) {
            sink->SetText(walk == Walk::Subkeys ? key.FullPath() + "\\" + entryName : entryName);
        }
        if (!visit(entryName)) {
            break;
        }
    }
    // A key its caller opened stays open for the caller's next walk over it.
    if (!openBefore) {
        key.Close();
    }
}

}  // namespace

void EnumerateSubkeys(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context)
{
    WalkEntries(
        key, context, Walk::Subkeys,
        [](HKEY handle, DWORD index, wchar_t* name, DWORD* length) {
            return RegEnumKeyExW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
        },
        [&](const std::string& name) {
            Ref<RegistryKey> child(new RegistryKey(key, name));
            const bool more = visitor.OnKey(child.get());
            // A subkey kept by an issue holds no handle, nor the keys above it.
            child->Close();
            child->ForgetParent();
            return more;
        });
}

void EnumerateValues(RegistryKey& key, RegistryVisitor& visitor, WalkContext& context)
{
    // Each value is read with its name, in one call; one too big for the buffer is read on its own.
    std::vector<BYTE> data(ValueBufferSize);
    DWORD type = 0;
    DWORD size = 0;
    bool read = false;
    WalkEntries(
        key, context, Walk::Values,
        [&](HKEY handle, DWORD index, wchar_t* name, DWORD* length) {
            const DWORD nameBuffer = *length;
            size = static_cast<DWORD>(data.size());
            LONG result = RegEnumValueW(handle, index, name, length, nullptr, &type, data.data(), &size);
            read = result == ERROR_SUCCESS;
            if (result == ERROR_MORE_DATA) {
                *length = nameBuffer;
                result = RegEnumValueW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
            }
            return result;
        },
        [&](const std::string& name) {
            Ref<RegistryValue> value = read ? key.ValueFromData(name, type, data.data(), size) : key.QueryValue(name);
            if (value && !value->FitsCodePage()) {
                context.NoteOutsideCodePage();
                return true;
            }
            if (value && context.PassesOver(*value)) {
                return true;
            }
            return visitor.OnValue(value.get());
        });
}

LONG ListSubkeys(RegistryKey& key, std::vector<std::string>& names)
{
    names.clear();
    const LONG opened = key.TryOpen(KEY_READ);
    if (opened != ERROR_SUCCESS) {
        return opened;
    }
    LONG status = ERROR_SUCCESS;
    wchar_t name[NameBufferSize];
    for (DWORD index = 0;; ++index) {
        DWORD length = NameBufferSize;
        const LONG result = RegEnumKeyExW(key.Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS) {
            // A name that went away under the read must not pass for a key that is not there.
            status = result == ERROR_FILE_NOT_FOUND ? ERROR_KEY_DELETED : result;
            if (SkipsOnlyThisEntry(result)) {
                continue;
            }
            break;
        }
        if (const std::optional<std::string> narrow = ExactNarrow(name, length)) {
            names.push_back(*narrow);
        } else {
            status = ERROR_NO_UNICODE_TRANSLATION;
        }
    }
    key.Close();
    return status;
}
