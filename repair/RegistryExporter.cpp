#include "repair/RegistryExporter.h"

#include "registry/RegistryEnumeration.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryValue.h"
#include "repair/RollbackReader.h"

#include <utility>

namespace {

// A line break inside a name would end the line early and corrupt the file.
bool IsOneLine(const std::string& text)
{
    return text.find_first_of("\r\n") == std::string::npos;
}

// How many values and subkeys a key holds right now, so that the walks' results can be checked against it. Asked
// on the handle both walks then use: a key opened for reading, and closed before by its caller, since a handle a
// scanner opened to query values would not enumerate subkeys.
struct KeyContent {
    bool absent = false;
    bool readable = false;
    DWORD values = 0;
    DWORD subkeys = 0;
};

KeyContent OpenForWalks(RegistryKey& key)
{
    KeyContent content;
    key.Close();
    const LONG opened = key.TryOpen(KEY_READ);
    if (opened != ERROR_SUCCESS) {
        content.absent = opened == ERROR_FILE_NOT_FOUND;
        return content;
    }
    content.readable = RegQueryInfoKeyA(key.Handle(), nullptr, nullptr, nullptr, &content.subkeys, nullptr, nullptr,
                                        &content.values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    return content;
}

}  // namespace

void RegistryExporter::AddLine(std::string line)
{
    lines_.push_back(std::move(line));
}

void RegistryExporter::AddKeyHeader(const RegistryKey& key)
{
    const std::string path = key.FullPath();
    if (!IsOneLine(path) || (headed_ && key.View() != view_)) {
        complete_ = false;
    }
    headed_ = true;
    view_ = key.View();
    AddLine("[" + path + "]");
}

bool RegistryExporter::OnValue(RegistryValue* value)
{
    if (!value || value->Size() < 0 || !IsOneLine(value->Name())) {
        // Nothing is invented for it, and the backup no longer holds everything.
        complete_ = false;
        if (value && IsOneLine(value->Name())) {
            AddLine(value->ToExportLine());
        }
        return true;
    }
    AddLine(value->ToExportLine());
    ++valuesWritten_;
    return true;
}

bool RegistryExporter::OnKey(RegistryKey* key)
{
    if (!key) {
        return true;
    }
    if (siblingsWritten_) {
        ++*siblingsWritten_;
    }
    const KeyContent content = OpenForWalks(*key);
    if (!content.absent && !content.readable) {
        complete_ = false;
    }

    AddKeyHeader(*key);
    keys_.emplace_back(key);
    const int valuesBefore = valuesWritten_;
    EnumerateValues(*key, *this, context_);
    const int valuesOfKey = valuesWritten_ - valuesBefore;
    AddLine({});

    int subkeysWritten = 0;
    int* outer = std::exchange(siblingsWritten_, &subkeysWritten);
    EnumerateSubkeys(*key, *this, context_);
    key->Close();
    siblingsWritten_ = outer;
    AddLine({});

    // Values with names too long for the walk, or a key the walk could not open,
    // leave these short.
    if (content.readable && (static_cast<DWORD>(valuesOfKey) != content.values ||
                             static_cast<DWORD>(subkeysWritten) != content.subkeys)) {
        complete_ = false;
    }
    return true;
}

std::string RegistryExporter::Text() const
{
    // Always named: a file without the line is read as an earlier version's.
    std::string text = "REGEDIT4\n" + std::string(RollbackViewComment) + RollbackViewName(view_) + "\n\n";
    for (const std::string& line : lines_) {
        text += line;
        text += '\n';
    }
    return text;
}
