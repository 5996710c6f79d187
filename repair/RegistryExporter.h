// Collects the REGEDIT4 text of registry keys and values before they are deleted,
// and notes whether everything that exists made it into the text.
#pragma once

#include "registry/RefCounted.h"
#include "registry/RegistryKey.h"
#include "registry/RegistryView.h"
#include "registry/RegistryVisitor.h"
#include "registry/WalkContext.h"

#include <string>
#include <vector>

class RegistryExporter : public RegistryVisitor {
public:
    // "[" + the key's full path + "]". Every key of one text must be of one registry view.
    void AddKeyHeader(const RegistryKey& key);
    // Appends the value's line.
    bool OnValue(RegistryValue* value) override;
    // Appends the key, its values and, depth first, every subkey below it.
    bool OnKey(RegistryKey* key) override;

    const std::vector<std::string>& Lines() const noexcept { return lines_; }
    // Every key the text holds, each before the keys below it: what a repair may delete, and no more.
    const std::vector<Ref<RegistryKey>>& Keys() const noexcept { return keys_; }
    // The whole file: "REGEDIT4", for keys of a view of their own a comment line naming it (the registry editor
    // passes it over), an empty line, then every line, each ending in a line feed.
    std::string Text() const;

    // False once something that exists could not be put into the text: an
    // unreadable value or key, a value the walk had to skip, a name that cannot
    // be written on one line. A backup that is not complete must not be used.
    bool IsComplete() const noexcept { return complete_; }

private:
    void AddLine(std::string line);

    SilentWalkContext context_;
    std::vector<std::string> lines_;
    std::vector<Ref<RegistryKey>> keys_;
    bool complete_ = true;
    bool headed_ = false;
    RegistryView view_ = RegistryView::Default;
    int valuesWritten_ = 0;
    int* siblingsWritten_ = nullptr;
};
